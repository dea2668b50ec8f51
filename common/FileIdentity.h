#pragma once
// Which file or folder a path leads to: its volume and its number on that volume. Every route to one
// file (another spelling, a share, another drive letter, a link, a second name of the file) gives
// the same identity, which texts compared as texts cannot tell.
//
// FileIdentityOf asks the system; any thread. FileId itself is platform-free (portable/FileId.h).

#include <optional>

#include "common/portable/FileId.h"
#include "common/portable/Text.h"

// The identity of the existing file or folder at `path`; nothing when there is none there or it
// cannot be opened to ask (a folder that denies it, a server that does not answer). Opening asks
// only for its attributes, so a file others hold open without sharing is still told.
std::optional<FileId> FileIdentityOf(const Text& path);
