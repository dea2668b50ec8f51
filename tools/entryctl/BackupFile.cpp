#include "tools/entryctl/BackupFile.h"

#include <cstdio>
#include <cstring>

namespace entryctl {
namespace {

constexpr char kHeading[] = "entryctl backup 1";
constexpr char kEol[] = "\r\n";

Text ChecksumText(const StoredEntry& e) {
    Text covered;
    for (const Text* field : {&e.name, &e.kind, &e.label, &e.state, &e.position, &e.content}) {
        covered += *field;
        covered += '\0';
    }
    char hex[9];
    std::snprintf(hex, sizeof(hex), "%08x", Crc32(covered));
    return hex;
}

// Reads "key: value\r\n" at `pos`; false when the line is not exactly that.
bool ReadHeaderLine(const Text& bytes, size_t* pos, const char* key, Text* value) {
    size_t end = bytes.find(kEol, *pos);
    if (end == Text::npos)
        return false;
    Text prefix = Text(key) + ": ";
    if (bytes.compare(*pos, prefix.size(), prefix) != 0 || *pos + prefix.size() > end)
        return false;
    *value = bytes.substr(*pos + prefix.size(), end - *pos - prefix.size());
    *pos = end + 2;
    return true;
}

}  // namespace

unsigned Crc32(const Text& bytes) {
    static unsigned table[256];
    static bool ready = false;
    if (!ready) {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    unsigned crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

Text FormatBackup(const StoredEntry& e) {
    Text out = Text(kHeading) + kEol;
    out += "name: " + EscapeField(e.name) + kEol;
    out += "kind: " + EscapeField(e.kind) + kEol;
    out += "label: " + EscapeField(e.label) + kEol;
    out += "state: " + EscapeField(e.state) + kEol;
    out += "position: " + EscapeField(e.position) + kEol;
    out += "size: " + std::to_string(e.content.size()) + kEol;
    out += "checksum: " + ChecksumText(e) + kEol;
    out += kEol;
    out += e.content;
    return out;
}

bool ParseBackup(const Text& bytes, StoredEntry* out) {
    size_t pos = 0;
    Text heading = Text(kHeading) + kEol;
    if (bytes.compare(0, heading.size(), heading) != 0)
        return false;
    pos = heading.size();
    Text name, kind, label, state, position, size, checksum;
    if (!ReadHeaderLine(bytes, &pos, "name", &name) || !ReadHeaderLine(bytes, &pos, "kind", &kind) ||
        !ReadHeaderLine(bytes, &pos, "label", &label) || !ReadHeaderLine(bytes, &pos, "state", &state) ||
        !ReadHeaderLine(bytes, &pos, "position", &position) || !ReadHeaderLine(bytes, &pos, "size", &size) ||
        !ReadHeaderLine(bytes, &pos, "checksum", &checksum))
        return false;
    if (bytes.compare(pos, 2, kEol) != 0)
        return false;
    pos += 2;
    if (size.empty() || size.size() > 10 || size.find_first_not_of("0123456789") != Text::npos)
        return false;
    if (std::stoull(size) != bytes.size() - pos)
        return false;
    StoredEntry parsed;
    parsed.name = UnescapeField(name);
    parsed.kind = UnescapeField(kind);
    parsed.label = UnescapeField(label);
    parsed.state = UnescapeField(state);
    parsed.position = UnescapeField(position);
    parsed.content = bytes.substr(pos);
    if (ChecksumText(parsed) != checksum)
        return false;
    out->name = parsed.name;
    out->kind = parsed.kind;
    out->label = parsed.label;
    out->state = parsed.state;
    out->position = parsed.position;
    out->content = parsed.content;
    return true;
}

}  // namespace entryctl
