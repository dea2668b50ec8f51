// The tool's entry listing: whatever the tool prints, the records made from it are sound.
//  - No field of a record holds a tab, a line break or a zero byte: each record is one listing
//    line, and its fields are the pieces between the field separators.
//  - The count is the number of records made, and both ways of reading the listing agree.
//  - The outcome agrees with the records: entries when there are records, empty only without text.
//  - Round trip: the records printed back as a listing (in the tool's format) read back as the very
//    same records, and as a listing of entries.
//  - The records and the outcome are those of the listing read the plain way: the whole output
//    cleaned and trimmed step by step, then cut into lines and fields with the shared text
//    operations (slow, but each step can be checked by eye against the rules of the listing).

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "fuzz/FuzzCheck.h"
#include "tooldriver/portable/EntryListing.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace {

bool SameRecord(const EntryRecord& a, const EntryRecord& b) {
    return a.number == b.number && a.text1 == b.text1 && a.text2 == b.text2 && a.text3 == b.text3 &&
           a.text4 == b.text4 && a.text5 == b.text5 && a.extra == b.extra;
}

bool SameRecords(const EntryList& a, const EntryList& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!SameRecord(a[i], b[i]))
            return false;
    }
    return true;
}

std::string ShowRecord(const EntryRecord& r) {
    return std::to_string(r.number) + " " + ShowBytes(r.text1) + " " + ShowBytes(r.text2) + " " + ShowBytes(r.text3) +
           " " + ShowBytes(r.text4) + " " + ShowBytes(r.text5) + " extra " + std::to_string(r.extra);
}

std::string ShowRecords(const EntryList& list) {
    std::string shown;
    for (const EntryRecord& r : list)
        shown += "\n      [" + ShowRecord(r) + "]";
    return shown;
}

// The records as the tool would print them: number, the five texts, then one more field for a
// line of exactly seven fields (extra 0) or two more for any other line (extra 1).
Text PrintListing(const EntryList& list) {
    Text out;
    for (const EntryRecord& r : list) {
        out += IntToText(r.number);
        for (const Text* field : {&r.text1, &r.text2, &r.text3, &r.text4, &r.text5})
            out += kCoordSep + *field;
        out += r.extra == 0 ? Text(kCoordSep) + "7" : Text(kCoordSep) + "7" + kCoordSep + "8";
        out += kLineSep;
    }
    return out;
}

// The listing's rules applied one at a time, each to a whole text: zero bytes dropped; every line
// break (the line separator, a lone line feed, a lone carriage return) made one line feed; blanks
// trimmed at both ends; lines split at line feeds and fields at the field separator; a line of fewer
// than two fields is no entry, and says the listing failed when it holds the error marker.
ListingOutcome ReadPlainly(const Text& output, EntryList& list) {
    list.clear();
    Text text = output;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    text = ReplaceText(text, kLineSep, "\n");
    std::replace(text.begin(), text.end(), '\r', '\n');
    bool errorReported = false;
    bool anyText = false;
    for (const Text& line : SplitText(TrimText(text), "\n")) {
        anyText = anyText || !line.empty();
        TextArray fields = SplitText(line, kCoordSep);
        if (fields.size() < 2) {
            errorReported = errorReported || FindText(line, kErrorMarker) != -1;
            continue;
        }
        const size_t count = fields.size();
        fields.resize(std::max<size_t>(count, 6));
        EntryRecord& record = list.emplace_back();
        record.number = TextToInt(ReplaceText(fields[0], kNumberMark, "", /*ignoreCase=*/true));
        record.text1 = fields[1];
        record.text2 = fields[2];
        record.text3 = fields[3];
        record.text4 = fields[4];
        record.text5 = fields[5];
        record.extra = count == 7 ? 0 : 1;
    }
    if (errorReported || (list.empty() && anyText))
        return ListingOutcome::Failed;
    return list.empty() ? ListingOutcome::Empty : ListingOutcome::Entries;
}

bool HasForbiddenByte(const Text& field) {
    return field.find_first_of(Text("\t\r\n\0", 4)) != Text::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text output(reinterpret_cast<const char*>(data), size);

    EntryList list(2);  // leftovers of an earlier listing must not survive
    list[1].text1 = "stale";
    const ListingOutcome outcome = ParseEntryListingOutcome(output, list);
    for (const EntryRecord& r : list) {
        for (const Text* field : {&r.text1, &r.text2, &r.text3, &r.text4, &r.text5})
            FUZZ_CHECK(!HasForbiddenByte(*field), "record " + ShowRecord(r) + " from " + ShowBytes(output));
        FUZZ_CHECK(r.extra == 0 || r.extra == 1, ShowRecord(r));
    }

    EntryList plain;
    const ListingOutcome plainOutcome = ReadPlainly(output, plain);
    FUZZ_CHECK(SameRecords(list, plain) && outcome == plainOutcome,
               ShowBytes(output) + " read as" + ShowRecords(list) + "\n    not as" + ShowRecords(plain));

    EntryList counted(1);
    const int32_t count = ParseEntryListing(output, counted);
    FUZZ_CHECK(count >= 0 && static_cast<size_t>(count) == counted.size(), std::to_string(count));
    FUZZ_CHECK(SameRecords(list, counted), ShowRecords(list) + "\n    against" + ShowRecords(counted));

    FUZZ_CHECK((outcome == ListingOutcome::Entries) == !list.empty() || outcome == ListingOutcome::Failed,
               "outcome against " + std::to_string(list.size()) + " records");
    FUZZ_CHECK(outcome != ListingOutcome::Empty || list.empty(), ShowBytes(output));

    if (list.empty())
        return 0;
    const Text printed = PrintListing(list);
    EntryList again;
    const ListingOutcome againOutcome = ParseEntryListingOutcome(printed, again);
    FUZZ_CHECK(SameRecords(list, again), "printed " + ShowBytes(printed) + " reads back as" + ShowRecords(again) +
                                             "\n    not as" + ShowRecords(list));
    FUZZ_CHECK(againOutcome == ListingOutcome::Entries, "printed " + ShowBytes(printed));
    return 0;
}
