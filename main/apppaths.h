#pragma once

#include <QString>

// Where the program keeps its files, by the XDG base directories:
//   ~/.local/share/Veltrano/Quorvia/        recent_files.json, logs/
//   ~/.cache/Veltrano/Quorvia/attachments/  temporary copies of opened attachments
//   ~/.config/Veltrano/Quorvia.conf         settings
// (each under $XDG_DATA_HOME, $XDG_CACHE_HOME and $XDG_CONFIG_HOME when set).
namespace apppaths {

// Names the organisation and the application for Qt. Every folder below and
// the settings store follow these names, so this runs before any of them is
// made or read; calling it again changes nothing.
void setApplicationNames();

// ~/.local/share/Veltrano/Quorvia
QString dataDir();
QString logDir();
// The folder under which each running instance keeps its temporary copies.
QString tempRoot();

// Creates the data and log folders when missing; failures pass silently.
void ensureAppDirectories();

// The places used before the program followed the XDG folders, below home.
QString legacyRecentFilesPath(const QString& home);
QString legacySettingsPath(const QString& configHome);

// Moves the recent-files list and the settings of an earlier version to their
// present places, once: nothing is moved over a file that already exists.
// Returns how many files were moved.
int migrateLegacyFiles();

} // namespace apppaths
