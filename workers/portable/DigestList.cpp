#include "workers/portable/DigestList.h"

#include <set>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "workers/portable/BackupFileName.h"

namespace {

constexpr char kFieldSep = '\t';
constexpr size_t kSha256HexLength = 64;
constexpr size_t kMaxSizeDigits = 20;

bool HoldsLineOrFieldBreak(const Text& text) {
    return text.find_first_of("\t\r\n") != Text::npos;
}

bool IsBareFileName(const Text& fileName) {
    // A name with a separator or a colon (a drive, or a stream of another file) would lead outside
    // the generation folder's own files.
    return !fileName.empty() && fileName != "." && fileName != ".." && fileName.find_first_of("\\/:") == Text::npos;
}

bool IsSha256Hex(const Text& text) {
    if (text.size() != kSha256HexLength)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Why `digest` cannot be written so that it reads back; empty when it can.
Text LineProblem(const FileDigest& digest) {
    if (digest.name.empty())
        return "the entry's name is empty";
    if (HoldsLineOrFieldBreak(digest.name))
        return "the entry's name holds a tab or a line break";
    if (HoldsLineOrFieldBreak(digest.fileName) || !IsBareFileName(digest.fileName))
        return "the file name is not the name of a file in the generation's folder";
    if (!IsSha256Hex(digest.sha256))
        return "the digest is not 64 lower-case hexadecimal digits";
    return Text();
}

// A size as written: decimal digits, no leading zero but in "0", within 64 bits.
std::optional<uint64_t> ReadSize(const Text& text) {
    if (text.empty() || text.size() > kMaxSizeDigits || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// The line's fields, or nothing when it has not exactly four.
std::optional<FileDigest> SplitLine(const Text& line) {
    const size_t first = line.find(kFieldSep);
    const size_t second = first == Text::npos ? Text::npos : line.find(kFieldSep, first + 1);
    const size_t third = second == Text::npos ? Text::npos : line.find(kFieldSep, second + 1);
    if (third == Text::npos || line.find(kFieldSep, third + 1) != Text::npos)
        return std::nullopt;
    const std::optional<uint64_t> size = ReadSize(line.substr(second + 1, third - second - 1));
    if (!size)
        return std::nullopt;
    return FileDigest{line.substr(0, first), line.substr(first + 1, second - first - 1), *size,
                      line.substr(third + 1)};
}

std::nullopt_t Fail(Text* problem, const Text& why) {
    if (problem)
        *problem = why;
    return std::nullopt;
}

}  // namespace

Text Sha256Hex(const Sha256& digest) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    Text hex;
    hex.reserve(digest.size() * 2);
    for (uint8_t byte : digest) {
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0x0F];
    }
    return hex;
}

Text DigestListText(const std::vector<FileDigest>& digests, const LeadBytes& leadBytes) {
    Text text;
    std::set<Text> fileNames;
    for (const FileDigest& digest : digests) {
        if (!LineProblem(digest).empty() || !fileNames.insert(FoldFileNameCase(digest.fileName, leadBytes)).second)
            return Text();
        text += digest.name + kFieldSep + digest.fileName + kFieldSep + std::to_string(digest.size) + kFieldSep +
                digest.sha256 + kLineSep;
    }
    return text;
}

std::optional<std::vector<FileDigest>> ReadDigestList(const Text& content, Text* problem, const LeadBytes& leadBytes) {
    std::vector<FileDigest> digests;
    std::set<Text> fileNames;
    const Text lineSep = kLineSep;
    size_t start = 0;
    while (start < content.size()) {
        const Text where = "line " + IntToText(static_cast<int64_t>(digests.size() + 1)) + ": ";
        const size_t end = content.find(lineSep, start);
        if (end == Text::npos)
            return Fail(problem, where + "the file ends inside the line (cut off?)");
        const Text line = content.substr(start, end - start);
        start = end + lineSep.size();
        if (line.find_first_of("\r\n") != Text::npos)
            return Fail(problem, where + "a line break stands inside the line");
        const std::optional<FileDigest> digest = SplitLine(line);
        if (!digest)
            return Fail(problem, where + "not four fields (name, file name, size, digest)");
        if (const Text why = LineProblem(*digest); !why.empty())
            return Fail(problem, where + why);
        if (!fileNames.insert(FoldFileNameCase(digest->fileName, leadBytes)).second)
            return Fail(problem, where + "its file is named on an earlier line too");
        digests.push_back(*digest);
    }
    if (digests.empty())
        return Fail(problem, "the file holds no line");
    return digests;
}
