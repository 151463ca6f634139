#pragma once

#include <QString>
#include <QStringList>

// The recently opened files: recent_files.json in the data folder, a
// JSON array of absolute paths, newest first, at most kMaxRecentFiles. The list
// lives only in the file, so instances running side by side share it.

constexpr int kMaxRecentFiles = 10;

// The file's path; its folder is created when missing.
QString recentFilesPath();

// An unreadable or damaged file reads as an empty list.
QStringList loadRecentFiles();
// Replaces the file atomically: a crash or a full disk leaves the old list.
void saveRecentFiles(const QStringList& files);
// Puts the path at the top, dropping any entry that differs only in letter case.
void addRecentFile(const QString& path);
