#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringView>

// The program's debug lines ("mavu"): off unless the environment sets MAVU_DEBUG (to any
// value, also empty) or the logging rules switch "mavu.debug" on. Warnings always show.
Q_DECLARE_LOGGING_CATEGORY(lcMavu)

// Text from outside (a server's answer, a file name, an argument) made safe for a line of
// the terminal or a log: every control character, except those in kept, is written as
// \xNN. An escape sequence could otherwise retitle or clear the terminal, and a line feed
// forge a line of its own.
QString escapeControls(const QString &text, QStringView kept = u"\t");

// Every debug line and warning passes through escapeControls on its way to the terminal.
void installDebugLineSink();

// One line on standard output, escaped like the debug lines.
void printLine(const QString &line);
