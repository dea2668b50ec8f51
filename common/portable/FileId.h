#pragma once
// Which file or folder a path leads to, as a plain value: its volume and its number on that volume.
// Every route to one file gives the same FileId; common/FileIdentity.h asks the system for it.
//
// Platform-free; a plain value.

#include <compare>
#include <cstdint>

struct FileId {
    uint32_t volume = 0;  // the volume's serial number
    uint64_t index = 0;   // the file's number on it
    friend auto operator<=>(const FileId&, const FileId&) = default;
};
