#pragma once
// The file in each generation folder that lists, for every line of the generation's list of
// backups, the file that holds its backup in the folder, its size and its SHA-256 digest, so that
// a later check can prove the file is still what the pass kept. One line per list line:
//
//   name TAB file name TAB size TAB SHA-256 in lower-case hexadecimal CR LF
//
// in the ANSI code page, the last line ended like the others. The digests themselves come from the
// platform's cryptography; this only writes and reads the text.
//
// Platform-free; any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/LeadBytes.h"
#include "common/portable/Text.h"

inline constexpr char kDigestListFileName[] = "EntryKeeper-digests.txt";

// A SHA-256 digest as the platform gives it.
using Sha256 = std::array<uint8_t, 32>;

struct FileDigest {
    Text name;      // the entry's name, as on its list line
    Text fileName;  // the file's name inside the generation folder, without folder
    uint64_t size = 0;
    Text sha256;  // 64 lower-case hexadecimal digits
    friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

// `digest` in lower-case hexadecimal, as FileDigest::sha256 holds it.
Text Sha256Hex(const Sha256& digest);

// The file's text. Empty text (a written file never is) when a line could not be read back as it
// is: an empty name, a field holding a tab, a carriage return or a line feed, a file name that is
// not a bare name (a separator, ':', "." or ".."), a digest that is not 64 lower-case hexadecimal
// digits, or two lines naming one file (file names compared as Windows does, in the code page of
// `leadBytes`).
Text DigestListText(const std::vector<FileDigest>& digests, const LeadBytes& leadBytes = ActiveLeadBytes());

// The lines of a file's text, in the file's order; nothing unless the text is, line for line,
// what DigestListText writes for at least one line: a damaged file is never read in part. `problem`
// (when given) then says what is wrong and on which line, for the log.
std::optional<std::vector<FileDigest>> ReadDigestList(const Text& content, Text* problem = nullptr,
                                                      const LeadBytes& leadBytes = ActiveLeadBytes());
