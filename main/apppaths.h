#pragma once

#include <QString>

// Where the program keeps its files, all under the user's home directory.
namespace apppaths {

QString logDir();
QString configDir();
QString tempDir();

// Creates the three folders that are missing; failures pass silently.
void ensureAppDirectories();

} // namespace apppaths
