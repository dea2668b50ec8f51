#pragma once
// The /log file of a run (CommandLine.h): every line the window logs also goes there while the run
// lasts (Log.h: SetRunLogFile). A file that cannot be written never stops the run; the log says so
// once.
//
// Window thread.

#include "app/program/portable/CommandLine.h"

// Makes `request`'s log file the run's (SetRunLogFile) for the object's life; nothing without one.
class ScopedRunLogFile {
public:
    explicit ScopedRunLogFile(const CommandLineRequest& request);
    ~ScopedRunLogFile();
    ScopedRunLogFile(const ScopedRunLogFile&) = delete;
    ScopedRunLogFile& operator=(const ScopedRunLogFile&) = delete;
};
