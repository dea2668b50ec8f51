#include "app/log/LogFile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "app/log/portable/LogLineText.h"
#include "common/WinHandles.h"

namespace {

std::shared_ptr<LogFile>& RunLogFileSlot() {
    static std::shared_ptr<LogFile> file;
    return file;
}
std::mutex& RunLogFileMutex() {
    static std::mutex m;
    return m;
}

// Appending only (reading too, for the last byte), with every kind of sharing, so readers, other
// writers and the renaming of a full file by another copy are never blocked by this one.
UniqueFileHandle OpenForAppending(const Text& path) {
    return UniqueFileHandle(CreateFileA(path.c_str(), FILE_READ_DATA | FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The last byte of `file`, `size` bytes long; none when it is empty or cannot be read.
std::optional<char> LastByte(HANDLE file, const LARGE_INTEGER& size) {
    if (size.QuadPart <= 0)
        return std::nullopt;
    LARGE_INTEGER last;
    last.QuadPart = size.QuadPart - 1;
    OVERLAPPED at = {};
    at.Offset = last.LowPart;
    at.OffsetHigh = static_cast<DWORD>(last.HighPart);
    char byte = 0;
    DWORD read = 0;
    if (!ReadFile(file, &byte, 1, &read, &at) || read != 1)
        return std::nullopt;
    return byte;
}

// `bytes`: `line` as it goes onto the end of `file`, after what ends a torn last line that a write
// cut off halfway (a full disk) left, so it does not run on from that. `size`: the file's size.
// False, with both unchanged, when the size cannot be read.
bool LineAtEnd(HANDLE file, const Text& line, LARGE_INTEGER& size, Text& bytes) {
    if (!GetFileSizeEx(file, &size))
        return false;
    bytes = LogFileLineBreakBefore(LastByte(file, size)) + line;
    return true;
}

bool WriteWhole(HANDLE file, const Text& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

LogFile::LogFile(Text path, uint64_t sizeLimit) : path_(std::move(path)), sizeLimit_(sizeLimit) {}

bool LogFile::Append(const Text& line) {
    std::lock_guard lock(mutex_);
    UniqueFileHandle file = OpenForAppending(path_);
    LARGE_INTEGER size = {};
    Text bytes = line;
    if (file && LineAtEnd(file.get(), line, size, bytes) &&
        LogRotationDue(static_cast<uint64_t>(size.QuadPart), bytes.size(), sizeLimit_)) {
        file.reset();
        MoveFileExA(path_.c_str(), RotatedLogPath(path_).c_str(), MOVEFILE_REPLACE_EXISTING);
        file = OpenForAppending(path_);
        // A new file, or the same one when it could not be set aside.
        if (file)
            LineAtEnd(file.get(), line, size, bytes);
    }
    // Handed to the disk line by line: a run that ends in any way, or a machine that goes down,
    // loses no line already logged.
    const bool written = file && WriteWhole(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!written)
        failed_ = true;
    return written;
}

bool LogFile::TakeFailureToReport() {
    std::lock_guard lock(mutex_);
    if (!failed_ || failureReported_)
        return false;
    failureReported_ = true;
    return true;
}

void SetRunLogFile(std::shared_ptr<LogFile> file) {
    std::lock_guard lock(RunLogFileMutex());
    RunLogFileSlot() = std::move(file);
}

std::shared_ptr<LogFile> RunLogFile() {
    std::lock_guard lock(RunLogFileMutex());
    return RunLogFileSlot();
}
