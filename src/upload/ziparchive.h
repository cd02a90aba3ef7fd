#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

// Packs files and folders into one zip archive. Folders keep their structure: every
// entry is named relative to the folder that holds the packed item ("shots/2024/a.png").
namespace ZipArchive {

// "<name of the first item>_yyyy-MM-dd_hh-mm-ss.zip" inside folder.
QString archivePath(const QStringList &items, const QString &folder);

// Writes the archive; returns an empty text on success, else a translated error. When
// cancel becomes true the half-written archive is removed and "canceled" reported.
// Links inside a folder that lead out of it are not packed; leftOut gets their names.
QString build(const QStringList &items, const QString &archive, const std::atomic_bool *cancel,
              QStringList *leftOut = nullptr);

} // namespace ZipArchive
