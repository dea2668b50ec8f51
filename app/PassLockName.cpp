#include "app/PassLockName.h"

#include <cstdint>

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ULL;
constexpr uint64_t kFnvPrime = 0x100000001b3ULL;

}  // namespace

Text PassLockName(const std::u16string& foldedFolder) {
    uint64_t hash = kFnvOffsetBasis;
    for (char16_t unit : foldedFolder) {
        for (unsigned byte : {unit & 0xFFu, (unit >> 8) & 0xFFu}) {
            hash ^= byte;
            hash *= kFnvPrime;
        }
    }
    static constexpr char kHexDigits[] = "0123456789abcdef";
    Text hex(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[static_cast<size_t>(i)] = kHexDigits[hash & 0xF];
    return kPassLockNamePrefix + hex;
}
