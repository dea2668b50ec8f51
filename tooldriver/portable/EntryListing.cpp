#include "tooldriver/portable/EntryListing.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "common/portable/ActiveLeadBytes.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

// The listing is read in one walk over the output, each field copied once, straight into its
// record. A listing of 100,000 entries is megabytes: a whole-text copy for each cleaning step, and a
// text per line made before the records, cost more per entry the longer the listing gets (they no
// longer stay in the cache), so the walk makes none.
//
// Lines and fields are cut byte by byte, which is the character-wise cut of the text operations: a
// line feed, a carriage return and a tab are never a lead byte and never the second byte of a
// character (common/TextOps.h), so each is a character of its own wherever it stands. Only the
// trim at both ends walks characters, for the double-byte space.

namespace {

static_assert(kLineSep[0] == '\r' && kLineSep[1] == '\n' && kLineSep[2] == '\0', "the walk ends lines at CR LF");
static_assert(kCoordSep[0] != '\0' && kCoordSep[1] == '\0', "the walk splits fields at one byte");

constexpr size_t kFieldsWithoutExtra = 7;
constexpr size_t kFieldsKept = 6;  // number and the five texts; a seventh field is only counted

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool IsBlankAt(const Text& text, size_t pos, size_t len) {
    return (len == 1 && text[pos] == ' ') || (len == 2 && static_cast<unsigned char>(text[pos]) == 0xA1 &&
                                              static_cast<unsigned char>(text[pos + 1]) == 0xA1);
}

// Byte range of `text` without the spaces and double-byte spaces at its ends; begin == end when the
// text is blank. Only the first and the last line are walked: no blank stands across a line break.
std::pair<size_t, size_t> TrimmedRange(const Text& text, const LeadBytes& leadBytes) {
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t len = leadBytes.CharLength(text, begin);
        if (!IsBlankAt(text, begin, len))
            break;
        begin += len;
    }
    if (begin == text.size())
        return {begin, begin};
    // A line break is a character of its own, so the walk from just after the last one keeps in
    // step with a walk from the start of the text.
    size_t pos = begin;
    for (size_t i = text.size(); i > begin; --i) {
        if (IsLineBreak(text[i - 1])) {
            pos = i - 1;
            break;
        }
    }
    size_t end = pos;
    while (pos < text.size()) {
        const size_t len = leadBytes.CharLength(text, pos);
        if (!IsBlankAt(text, pos, len))
            end = pos + len;
        pos += len;
    }
    return {begin, end};
}

// Lines the walk will meet in `text` [begin, end), for reserving the records: a carriage return
// and line feed together end one line.
size_t CountLines(const Text& text, size_t begin, size_t end) {
    size_t lines = 1;
    for (size_t i = begin; i < end; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == end || text[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

// One listing line: where its first six fields stand, how many fields it has (an empty piece after
// the last field separator is no field, and an empty line has none), and where it ends.
struct LineFields {
    std::array<size_t, kFieldsKept> start{};
    std::array<size_t, kFieldsKept> length{};
    size_t count = 0;
    size_t end = 0;
};

// The line that starts at `pos` and ends at the next line break or at `end`.
LineFields CutLine(const Text& text, size_t pos, size_t end) {
    LineFields line;
    size_t fieldStart = pos;
    const auto closeField = [&](size_t fieldEnd) {
        if (line.count < kFieldsKept) {
            line.start[line.count] = fieldStart;
            line.length[line.count] = fieldEnd - fieldStart;
        }
        ++line.count;
    };
    for (; pos < end && !IsLineBreak(text[pos]); ++pos) {
        if (text[pos] == kCoordSep[0]) {
            closeField(pos);
            fieldStart = pos + 1;
        }
    }
    if (fieldStart < pos)
        closeField(pos);
    line.end = pos;
    return line;
}

}  // namespace

ListingOutcome ParseEntryListingOutcome(const Text& output, EntryList& list) {
    size_t used = 0;
    // Zero bytes go before anything else is read, so one never ends a line or splits a character.
    // Most listings have none, and are then read where they stand.
    Text withoutZeros;
    const bool hasZero = output.find('\0') != Text::npos;
    if (hasZero) {
        withoutZeros.reserve(output.size());
        std::remove_copy(output.begin(), output.end(), std::back_inserter(withoutZeros), '\0');
    }
    const Text& text = hasZero ? withoutZeros : output;
    const LeadBytes& leadBytes = ActiveLeadBytes();

    const auto [begin, end] = TrimmedRange(text, leadBytes);
    if (begin < end)
        list.reserve(CountLines(text, begin, end));

    bool errorReported = false;
    bool anyText = false;
    // Every line break ends a line: the tool's own separator, and a lone line feed or carriage
    // return as well. A piece after the last line break counts only when it is not empty.
    for (size_t pos = begin; pos < end;) {
        const size_t lineStart = pos;
        const LineFields fields = CutLine(text, lineStart, end);
        pos = fields.end;
        if (pos < end)
            pos += text[pos] == '\r' && pos + 1 < end && text[pos + 1] == '\n' ? 2 : 1;

        anyText = anyText || fields.end > lineStart;
        if (fields.count < 2) {
            // An entry's name may hold the marker; a line that is no entry and holds it is the
            // tool (or the interpreter) saying the listing failed.
            errorReported =
                errorReported || FindText(text.substr(lineStart, fields.end - lineStart), kErrorMarker) != -1;
            continue;
        }
        // A record of the earlier listing is overwritten where it stands rather than released and
        // made again: one pass over the list's memory instead of two, and its texts keep their room.
        EntryRecord& record = used < list.size() ? (list[used] = EntryRecord()) : list.emplace_back();
        ++used;
        record.number = TextToInt(
            ReplaceText(text.substr(fields.start[0], fields.length[0]), kNumberMark, "", /*ignoreCase=*/true));
        Text* const texts[] = {&record.text1, &record.text2, &record.text3, &record.text4, &record.text5};
        for (size_t k = 1; k < kFieldsKept && k < fields.count; ++k)
            texts[k - 1]->assign(text, fields.start[k], fields.length[k]);
        record.extra = fields.count == kFieldsWithoutExtra ? 0 : 1;
    }
    list.resize(used);  // the records the earlier listing had beyond this one's
    if (errorReported || (list.empty() && anyText))
        return ListingOutcome::Failed;
    return list.empty() ? ListingOutcome::Empty : ListingOutcome::Entries;
}

int32_t ParseEntryListing(const Text& output, EntryList& list) {
    ParseEntryListingOutcome(output, list);
    return static_cast<int32_t>(list.size());
}
