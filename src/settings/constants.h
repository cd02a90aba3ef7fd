#pragma once

// Constants shared by every module. They are fixed during static initialisation,
// before main() runs, and hold for the whole run; each including module gets its
// own (equal) copy.

#include <QColor>
#include <QDir>
#include <QString>

static const QString m_pathSettings = QDir::homePath() + QStringLiteral("/.mavu/");
static const QString m_tempDir = QDir::homePath() + QStringLiteral("/.mavu/tmp/");
static const QString m_audioTempDir = QDir::homePath() + QStringLiteral("/.mavu/tmp/audio/");
static const QString m_updatePath = QDir::homePath() + QStringLiteral("/.mavu/update/");
static const QString m_logFileName = QDir::homePath() + QStringLiteral("/.mavu/error.log");

static const QColor m_mainFontColor = QColor(QStringLiteral("#25282c"));
static const QString m_mainFontFamily = QStringLiteral("Arial");

// The alphabet that random strings are drawn from.
static const QString abc =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
