#pragma once
// What every fuzz target uses to state a property: a broken property prints what broke, with the
// texts involved shown byte by byte, and aborts, which libFuzzer reports as a finding and saves
// the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/portable/Text.h"

// `bytes` with every byte outside printable ASCII (and the backslash) written as \xHH.
inline std::string ShowBytes(const Text& bytes) {
    std::string shown = "\"";
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        }
    }
    return shown + "\"";
}

[[noreturn]] inline void PropertyBroken(const char* property, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "\n*** property broken: %s\n    at %s:%d\n    %s\n", property, file, line, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

// FUZZ_CHECK(condition, detail): `detail` (a std::string expression) is only built when it fails.
#define FUZZ_CHECK(condition, detail)                                            \
    do {                                                                         \
        if (!(condition))                                                        \
            PropertyBroken(#condition, __FILE__, __LINE__, std::string(detail)); \
    } while (false)
