#include "toollink/portable/ShortcutEnvironmentTarget.h"

#include <cstdint>

namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// The shell-link class id as stored in the header, bytes 4 to 19.
constexpr unsigned char kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr size_t kFlagsOffset = 0x14;

constexpr uint32_t kHasItemList = 0x1;
constexpr uint32_t kHasLocation = 0x2;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kHasEnvironmentTarget = 0x200;
// The optional strings, in the order they follow the location block.
constexpr uint32_t kStringFlags[] = {0x4, 0x8, 0x10, 0x20, 0x40};

constexpr uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr uint32_t kEnvironmentBlockSize = 0x314;
constexpr size_t kAnsiField = 8;
constexpr size_t kAnsiFieldSize = 260;
constexpr size_t kWideField = kAnsiField + kAnsiFieldSize;
constexpr size_t kWideFieldUnits = 260;

// Reads little-endian numbers, refusing every read that would pass the end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Has(size_t at, size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }

    std::optional<uint32_t> Number(size_t at, size_t width) const {
        if (!Has(at, width))
            return std::nullopt;
        uint32_t value = 0;
        for (size_t i = width; i > 0; --i)
            value = (value << 8) | static_cast<unsigned char>(bytes_[at + i - 1]);
        return value;
    }

    std::string_view Slice(size_t at, size_t count) const { return bytes_.substr(at, count); }

private:
    std::string_view bytes_;
};

// Moves `at` past `count` bytes; false when that passes the end.
bool Skip(const Reader& reader, size_t& at, size_t count) {
    if (!reader.Has(at, count))
        return false;
    at += count;
    return true;
}

// The block at `block`, whose whole size the caller checked.
EnvironmentTarget BlockTarget(const Reader& reader, size_t block) {
    EnvironmentTarget target;
    const std::string_view ansi = reader.Slice(block + kAnsiField, kAnsiFieldSize);
    target.ansi = Text(ansi.substr(0, ansi.find('\0')));
    for (size_t unit = 0; unit < kWideFieldUnits; ++unit) {
        const char16_t c = static_cast<char16_t>(*reader.Number(block + kWideField + unit * 2, 2));
        if (c == 0)
            break;
        target.wide.push_back(c);
    }
    return target;
}

}  // namespace

std::optional<EnvironmentTarget> ShortcutEnvironmentTarget(std::string_view bytes) {
    const Reader reader(bytes);
    if (reader.Number(0, 4) != kHeaderSize || bytes.size() < kHeaderSize ||
        bytes.substr(4, sizeof kLinkClassId) !=
            std::string_view(reinterpret_cast<const char*>(kLinkClassId), sizeof kLinkClassId))
        return std::nullopt;
    const uint32_t flags = *reader.Number(kFlagsOffset, 4);
    if (!(flags & kHasEnvironmentTarget))
        return std::nullopt;

    size_t at = kHeaderSize;
    if (flags & kHasItemList) {
        const std::optional<uint32_t> size = reader.Number(at, 2);
        if (!size || !Skip(reader, at, 2 + static_cast<size_t>(*size)))
            return std::nullopt;
    }
    if (flags & kHasLocation) {
        // The block's size counts its own four bytes.
        const std::optional<uint32_t> size = reader.Number(at, 4);
        if (!size || *size < 4 || !Skip(reader, at, *size))
            return std::nullopt;
    }
    const size_t unitSize = (flags & kIsUnicode) ? 2 : 1;
    for (uint32_t stringFlag : kStringFlags) {
        if (!(flags & stringFlag))
            continue;
        const std::optional<uint32_t> count = reader.Number(at, 2);
        if (!count || !Skip(reader, at, 2 + static_cast<size_t>(*count) * unitSize))
            return std::nullopt;
    }
    // Extra data blocks, each starting with its size and signature, until a block smaller than four
    // bytes (the terminal block). Every block is at least eight bytes long, so the walk ends.
    for (;;) {
        const std::optional<uint32_t> size = reader.Number(at, 4);
        if (!size || *size < 8 || !reader.Has(at, *size))
            return std::nullopt;
        if (reader.Number(at + 4, 4) == kEnvironmentBlockSignature && *size == kEnvironmentBlockSize)
            return BlockTarget(reader, at);
        at += *size;
    }
}
