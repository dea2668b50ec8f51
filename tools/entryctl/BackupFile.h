#pragma once
// entryctl's backup file: a short header of "key: value" lines, a blank line, then the entry's
// content as raw bytes.
//
//   entryctl backup 1
//   name: <escaped>          (fields escaped as in entries.db)
//   kind: <escaped>
//   label: <escaped>
//   state: <escaped>
//   position: <escaped>
//   size: <content length in bytes>
//   checksum: <8 lowercase hex digits>
//   <empty line>
//   <content>
//
// Every line ends with "\r\n". The checksum is the CRC-32 (IEEE) of name, kind, label, state,
// position and content, each followed by a zero byte. A file whose header, size or checksum does
// not agree with its bytes is damaged and is never restored.

#include "common/portable/Text.h"
#include "tools/entryctl/EntryStore.h"

namespace entryctl {

Text FormatBackup(const StoredEntry& entry);

// Fills name, kind, label, state, position and content of `out`; false for a damaged file.
bool ParseBackup(const Text& bytes, StoredEntry* out);

unsigned Crc32(const Text& bytes);

}  // namespace entryctl
