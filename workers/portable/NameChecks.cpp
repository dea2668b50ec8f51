#include "workers/portable/NameChecks.h"

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/CommandLineSafety.h"
#include "workers/portable/PassTexts.h"

Text CommandRefusalReason(const Text& argument, const LeadBytes& leadBytes) {
    if (IsSafeCommandArgument(argument, leadBytes))
        return Text();
    for (size_t pos = 0; pos < argument.size(); pos += leadBytes.CharLength(argument, pos)) {
        if (leadBytes.CharLength(argument, pos) == 1 && leadBytes.IsLead(static_cast<unsigned char>(argument[pos])))
            return kReasonIncompleteDoubleByte;
        switch (argument[pos]) {
            case '"':
                return kReasonDoubleQuote;
            case '\r':
            case '\n':
                return kReasonLineBreak;
            case '\0':
                return kReasonZeroByte;
            default:
                break;
        }
    }
    // The command layer's rule grew a case this list does not name yet.
    return kReasonOther;
}

Text ManifestRefusalReason(const Text& text) {
    if (FindText(text, kManifestSep) != -1)
        return kReasonManifestSep;
    if (text.find_first_of("\r\n") != Text::npos)
        return kReasonLineBreak;
    return Text();
}
