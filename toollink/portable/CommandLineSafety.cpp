#include "toollink/portable/CommandLineSafety.h"

bool IsSafeCommandArgument(const Text& argument, const LeadBytes& leadBytes) {
    // These bytes are refused wherever they stand, even where a code page could read one as the
    // second byte of a pair: a conversion that does not take the pair would leave the byte itself.
    for (char c : argument) {
        if (c == '"' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    // A percent sign is moved out of the quotes only where it is a character of its own.
    for (size_t pos = 0; pos < argument.size(); pos += leadBytes.CharLength(argument, pos)) {
        if (leadBytes.CharLength(argument, pos) == 2 && argument[pos + 1] == '%')
            return false;
    }
    return leadBytes.IsWholeText(argument);
}

bool IsSafeVerbatimText(const Text& text, const LeadBytes& leadBytes) {
    return text.find('%') == Text::npos && IsSafeCommandArgument(text, leadBytes);
}
