// The tool's entry listing: whatever the tool prints, the records made from it are sound.
//  - No field of a record holds a tab, a line break or a zero byte: each record is one listing
//    line, and its fields are the pieces between the field separators.
//  - The count is the number of records made, and both ways of reading the listing agree.
//  - The outcome agrees with the records: entries when there are records, empty only without text.
//  - Round trip: the records printed back as a listing (in the tool's format) read back as the very
//    same records, and as a listing of entries.

#include <cstddef>
#include <cstdint>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "fuzz/FuzzCheck.h"
#include "tooldriver/portable/EntryListing.h"

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
