#include "toollink/CommandLineSafety.h"

bool IsSafeCommandArgument(const Text& argument, const LeadBytes& leadBytes) {
    // These bytes are refused wherever they stand, even where a code page could read one as the
    // second byte of a pair: a conversion that does not take the pair would leave the byte itself.
    for (char c : argument) {
        if (c == '"' || c == '%' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    return leadBytes.IsWholeText(argument);
}
