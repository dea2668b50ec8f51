#include "tooldriver/portable/EntryListing.h"

#include <algorithm>
#include <utility>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

constexpr size_t kFieldsWithoutExtra = 7;

// Field `index` (from 0) moved out of `fields`, or empty text when the line has no such field.
Text Take(TextArray& fields, size_t index) {
    return index < fields.size() ? std::move(fields[index]) : Text();
}

}  // namespace

ListingOutcome ParseEntryListingOutcome(const Text& output, EntryList& list) {
    list.clear();
    Text text = output;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    // Every line break ends a line, so no field can hold one: the tool's own separator, and a lone
    // line feed or carriage return as well. (Neither byte is ever the second byte of a character.)
    text = ReplaceText(text, kLineSep, "\n");
    std::replace(text.begin(), text.end(), '\r', '\n');
    TextArray lines = SplitText(TrimText(text), "\n");
    list.reserve(lines.size());
    bool errorReported = false;
    bool anyText = false;
    for (const Text& line : lines) {
        anyText = anyText || !line.empty();
        TextArray fields = SplitText(line, kCoordSep);
        if (fields.size() < 2) {
            // An entry's name may hold the marker; a line that is no entry and holds it is the
            // tool (or the interpreter) saying the listing failed.
            errorReported = errorReported || FindText(line, kErrorMarker) != -1;
            continue;
        }
        EntryRecord& record = list.emplace_back();
        record.number = TextToInt(ReplaceText(fields[0], kNumberMark, "", /*ignoreCase=*/true));
        record.text1 = Take(fields, 1);
        record.text2 = Take(fields, 2);
        record.text3 = Take(fields, 3);
        record.text4 = Take(fields, 4);
        record.text5 = Take(fields, 5);
        record.extra = fields.size() == kFieldsWithoutExtra ? 0 : 1;
    }
    if (errorReported || (list.empty() && anyText))
        return ListingOutcome::Failed;
    return list.empty() ? ListingOutcome::Empty : ListingOutcome::Entries;
}

int32_t ParseEntryListing(const Text& output, EntryList& list) {
    ParseEntryListingOutcome(output, list);
    return static_cast<int32_t>(list.size());
}
