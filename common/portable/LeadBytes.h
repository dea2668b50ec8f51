#pragma once
// LeadBytes: which bytes of an ANSI code page start a two-byte character and which bytes may stand
// second in one. With it, text of that code page is walked character by character: a second byte
// that happens to equal '\' or '|' is never taken for that character, and a lead byte without a
// valid second byte (at the end of a text, or before a byte that cannot follow it) is found.
//
// Platform-free (no Windows header), so it is also built and tested natively; the table of the
// code page the process runs under comes from common/portable/ActiveLeadBytes.h. A table is a value: copy
// it freely, read it from any thread.

#include <array>
#include <cstddef>

#include "common/portable/Text.h"

class LeadBytes {
  public:
    // A one-byte code page: no lead byte, every byte a character of its own.
    LeadBytes() = default;

    // Marks the bytes first..last (inclusive) as lead bytes / as valid second bytes.
    LeadBytes& AddLeadRange(unsigned char first, unsigned char last);
    LeadBytes& AddTrailRange(unsigned char first, unsigned char last);

    bool IsLead(unsigned char byte) const { return lead_[byte]; }
    bool IsTrail(unsigned char byte) const { return trail_[byte]; }
    bool HasLeadBytes() const;

    // Bytes in the character that starts at `pos` (below text.size()): 2 for a lead byte followed
    // by a valid second byte, 1 otherwise (a lone lead byte counts as one byte of its own).
    size_t CharLength(const Text& text, size_t pos) const;

    // Position of the first lead byte that has no valid second byte after it, or Text::npos when
    // every lead byte is followed by one.
    size_t FirstIncompleteCharacter(const Text& text) const;

    // True when the text is whole text of the code page: FirstIncompleteCharacter finds nothing.
    bool IsWholeText(const Text& text) const { return FirstIncompleteCharacter(text) == Text::npos; }

    // Code page 936: lead bytes 0x81-0xFE; second bytes 0x40-0x7E and 0x80-0xFE.
    static const LeadBytes& CodePage936();
    // Code page 1252 (and every other one-byte code page): no lead byte.
    static const LeadBytes& CodePage1252();

    friend bool operator==(const LeadBytes& a, const LeadBytes& b) = default;

  private:
    std::array<bool, 256> lead_{};
    std::array<bool, 256> trail_{};
};
