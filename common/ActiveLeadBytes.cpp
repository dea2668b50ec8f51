#include "common/portable/ActiveLeadBytes.h"

#include <windows.h>

namespace {

LeadBytes TableOfCodePage(UINT codePage) {
    if (codePage == 936)
        return LeadBytes::CodePage936();
    CPINFO info = {};
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize < 2)
        return LeadBytes::CodePage1252();
    LeadBytes table;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
        table.AddLeadRange(info.LeadByte[i], info.LeadByte[i + 1]);
    // The system reports no second-byte ranges. A byte counts as one when the system's conversion
    // takes it together with a lead byte as one character; that is what the command interpreter
    // and the tool will see when they convert the same bytes.
    const char lead = static_cast<char>(info.LeadByte[0]);
    for (int second = 1; second < 256; ++second) {
        const char pair[2] = {lead, static_cast<char>(second)};
        WCHAR wide[2] = {};
        if (MultiByteToWideChar(codePage, 0, pair, 2, wide, 2) == 1)
            table.AddTrailRange(static_cast<unsigned char>(second), static_cast<unsigned char>(second));
    }
    return table;
}

}  // namespace

const LeadBytes& ActiveLeadBytes() {
    static const LeadBytes table = TableOfCodePage(GetACP());
    return table;
}
