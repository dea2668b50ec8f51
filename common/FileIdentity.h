#pragma once
// Which file or folder a path leads to: its volume and its number on that volume. Every route to one
// file (another spelling, a share, another drive letter, a link, a second name of the file) gives
// the same identity, which texts compared as texts cannot tell.
//
// FileId is a plain value, platform-free. FileIdentityOf asks the system (Windows only); any thread.
// The header needs no Windows header, so portable callers may name FileId.

#include <compare>
#include <cstdint>
#include <optional>

#include "common/Text.h"

struct FileId {
    uint32_t volume = 0;  // the volume's serial number
    uint64_t index = 0;   // the file's number on it
    friend auto operator<=>(const FileId&, const FileId&) = default;
};

// The identity of the existing file or folder at `path`; nothing when there is none there or it
// cannot be opened to ask (a folder that denies it, a server that does not answer). Opening asks
// only for its attributes, so a file others hold open without sharing is still told.
std::optional<FileId> FileIdentityOf(const Text& path);
