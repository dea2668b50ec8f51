#include "toollink/CommandLineSafety.h"

bool IsSafeCommandArgument(const Text& argument) {
    // Byte-wise is enough: in code page 936 a second byte is 0x40 or above, so none of these
    // bytes can be the second half of a double-byte character.
    for (char c : argument) {
        if (c == '"' || c == '%' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    return true;
}
