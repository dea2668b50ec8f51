#pragma once
// The log file a run was asked for (/log:"<file>"): every log line of the run also goes there,
// with the date in front of the time (LogLineText.h), in the active code page like the window's
// log. Without the switch there is none and nothing is written.
//
// Each line is appended on its own: the file is opened for appending, the line written and handed
// to the disk, and the file closed again, so every line stands in the file as soon as it is logged
// and another program (or another copy of this one) may read, append to or set aside the file
// between lines. A file that would grow past its limit is first set aside (LogRotation.h).
//
// Any thread; lines from several threads are written one at a time, whole.

#include <cstdint>
#include <memory>
#include <mutex>

#include "app/log/portable/LogRotation.h"
#include "common/portable/Text.h"

// Logged once, into the window only, when the log file could not be written; the path follows.
inline constexpr char kLogFileFailedText[] =
    "The log file could not be written, so this run's lines stay in this window only: ";

class LogFile {
public:
    // `path` should be a full path: the passes change the current directory (WithFullPaths,
    // FullPaths.h). `sizeLimit` is for tests.
    explicit LogFile(Text path, uint64_t sizeLimit = kLogFileSizeLimit);
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    const Text& Path() const { return path_; }

    // Appends `line` (a whole line, its line separator included), setting the file aside first
    // when it is full. A file that cannot be set aside is written on. False when the line could
    // not be written (the file cannot be opened or written: a read-only file, a missing folder).
    bool Append(const Text& line);

    // True exactly once: for the first caller after the first failed Append, who reports it.
    bool TakeFailureToReport();

private:
    const Text path_;
    const uint64_t sizeLimit_;
    std::mutex mutex_;
    bool failed_ = false;
    bool failureReported_ = false;
};

// The run's log file, shared by every log line of the process; null when there is none. Any thread.
void SetRunLogFile(std::shared_ptr<LogFile> file);
std::shared_ptr<LogFile> RunLogFile();
