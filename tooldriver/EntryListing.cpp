#include "tooldriver/EntryListing.h"

#include <utility>

#include "common/SharedTexts.h"
#include "common/TextOps.h"
#include "toollink/vocabulary/ToolVocabulary.h"

namespace {

constexpr size_t kFieldsWithoutExtra = 7;

// Field `index` (from 0) moved out of `fields`, or empty text when the line has no such field.
Text Take(TextArray& fields, size_t index) {
    return index < fields.size() ? std::move(fields[index]) : Text();
}

}  // namespace

int32_t ParseEntryListing(const Text& output, EntryList& list) {
    list.clear();
    TextArray lines = SplitText(TrimText(output), kLineSep);
    list.reserve(lines.size());
    for (const Text& line : lines) {
        TextArray fields = SplitText(line, kCoordSep);
        if (fields.size() < 2)
            continue;
        EntryRecord& record = list.emplace_back();
        record.number = TextToInt(ReplaceText(fields[0], kNumberMark, "", /*ignoreCase=*/true));
        record.text1 = Take(fields, 1);
        record.text2 = Take(fields, 2);
        record.text3 = Take(fields, 3);
        record.text4 = Take(fields, 4);
        record.text5 = Take(fields, 5);
        record.extra = fields.size() == kFieldsWithoutExtra ? 0 : 1;
    }
    return static_cast<int32_t>(list.size());
}
