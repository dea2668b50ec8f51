#pragma once
// The stand-in tool's entries as the soak reads and writes them: its store file (entries.db, format
// in tools/entryctl/EntryStore.h). The soak writes the store only while no run of the tool is alive.
//
// Any thread.

#include <map>

#include "common/portable/Text.h"

// One entry, without its number (an entry a restore creates again gets a new one) and its lock.
struct ToolEntry {
    Text kind;
    Text label;
    Text state;
    Text position;
    Text content;

    bool operator==(const ToolEntry&) const = default;
};

// The entries by name: every entry the soak makes has a name of its own.
using ToolEntries = std::map<Text, ToolEntry>;

// Reads the store at `path` (a missing file is an empty store). The store is whole when every line
// ends in CR LF and holds the eight fields, its number is above 0, and no two lines share a number
// or a name. False with `problem` (for the report) when it is not whole or cannot be read.
bool ReadToolStore(const Text& path, ToolEntries* entries, Text* problem);

// Replaces the store at `path` with `entries`, numbered from 1 in name order. False on failure.
bool WriteToolStore(const Text& path, const ToolEntries& entries);

// A short description of `content` for the report: its size and its first bytes, escaped.
Text DescribeContent(const Text& content);
