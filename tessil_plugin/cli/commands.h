#pragma once

// The commands. Each processes every file even when some fail and
// returns the exit status: 0 when every file was decoded (and, for extract,
// written), 1 otherwise.

struct CommandLine;

int runInfo(const CommandLine& commandLine);
int runExtract(const CommandLine& commandLine);
int runHtml(const CommandLine& commandLine);
int runProps(const CommandLine& commandLine);
