#pragma once

#include <string>

// The maker's log writer, rebuilt here: every line goes, with a timestamp, to
// one ".log" file per day in the folder given at initialisation. Callable from
// any thread. Lines written before initialisation are dropped.
class ICVLogConfig
{
public:
    // Remembers the folder (creating it when missing) and closes any file open
    // in another folder. False when the folder cannot be made.
    static bool InitializeLogConfig(const std::string& logDirectory);

    // Each appends one line and returns 0, or -1 when nothing could be written.
    static int Info(const std::string& line);
    static int Warning(const std::string& line);
    static int Fatal(const std::string& line);

    // Everything written so far is on disk when this returns.
    static void FlushBuffer();

    // The file that today's lines go to, or an empty string before
    // initialisation.
    static std::string CurrentLogFilePath();

    ICVLogConfig() = delete;
};
