#include "common/portable/LeadBytes.h"

LeadBytes& LeadBytes::AddLeadRange(unsigned char first, unsigned char last) {
    for (unsigned b = first; b <= last; ++b)
        lead_[b] = true;
    return *this;
}

LeadBytes& LeadBytes::AddTrailRange(unsigned char first, unsigned char last) {
    for (unsigned b = first; b <= last; ++b)
        trail_[b] = true;
    return *this;
}

bool LeadBytes::HasLeadBytes() const {
    for (bool lead : lead_) {
        if (lead)
            return true;
    }
    return false;
}

size_t LeadBytes::CharLength(const Text& text, size_t pos) const {
    if (pos + 1 < text.size() && IsLead(static_cast<unsigned char>(text[pos])) &&
        IsTrail(static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

size_t LeadBytes::FirstIncompleteCharacter(const Text& text) const {
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = CharLength(text, pos);
        if (length == 1 && IsLead(static_cast<unsigned char>(text[pos])))
            return pos;
        pos += length;
    }
    return Text::npos;
}

const LeadBytes& LeadBytes::CodePage936() {
    static const LeadBytes table =
        LeadBytes().AddLeadRange(0x81, 0xFE).AddTrailRange(0x40, 0x7E).AddTrailRange(0x80, 0xFE);
    return table;
}

const LeadBytes& LeadBytes::CodePage1252() {
    static const LeadBytes table;
    return table;
}
