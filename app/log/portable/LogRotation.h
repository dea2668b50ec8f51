#pragma once
// When the log file (/log) is set aside for a new one, and under which name. A file is never let
// grow past its size limit: the line that would take it past goes to a new file, once the full
// one has been renamed to the file's name followed by kRotatedLogSuffix (replacing the older one
// there). A single line longer than the limit still goes whole into an empty file.
//
// Platform-free; any thread.

#include <cstdint>

#include "common/portable/Text.h"

// The log file's size limit: 1 MiB.
inline constexpr uint64_t kLogFileSizeLimit = 1024 * 1024;
// Appended to the log file's name to name the full file set aside.
inline constexpr char kRotatedLogSuffix[] = ".1";

// Whether a file holding `fileSize` bytes must be set aside before `lineBytes` more are appended.
bool LogRotationDue(uint64_t fileSize, uint64_t lineBytes, uint64_t limit = kLogFileSizeLimit);

// The name the full file at `path` is set aside under.
Text RotatedLogPath(const Text& path);
