#pragma once
// The entries the soak gives the stand-in tool, and what it does to them between passes: a round
// starts from a few entries with names a user might give (spaces, brackets, Chinese characters in
// code page 936) and contents of random bytes; before a backup some contents change and an entry
// may be added; before a restore every entry is damaged and some are removed, so that the restore
// has to bring each one back. Everything is drawn from the round's random source, so a round's
// entries follow from the seed alone.
//
// Any thread.

#include <random>

#include "bench/soak/ToolStore.h"

// The entries a round starts with: 2 to 6 of them.
ToolEntries MakeEntries(std::mt19937_64& random);

// `entries` with the contents of some of them (at least one) new, and now and then one entry more.
ToolEntries ChangeEntries(const ToolEntries& entries, std::mt19937_64& random);

// `entries` as a user might find them before a restore: every content and label overwritten with a
// text that no backup holds, and some entries (never all) removed from the tool.
ToolEntries DamageEntries(const ToolEntries& entries, std::mt19937_64& random);

// Whether `entry` is the damage DamageEntries wrote.
bool IsDamaged(const ToolEntry& entry);
