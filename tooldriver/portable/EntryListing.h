#pragma once
// Turns the tool's entry listing (its printed output) into records.
//
// The listing is one line per entry, lines separated by the line separator, fields by the
// coordinate separator: number (possibly carrying the number mark), name, four more texts and
// sometimes a seventh field. The output is trimmed of spaces at both ends first. Zero bytes are
// dropped first: the tool has no use for them in a listing, and one must neither end the
// listing nor spoil the number field it stands in. A lone line feed or carriage return ends a line
// too, so no field of a record ever holds a tab, a line break or a zero byte.
//
// Lines short of fields: a line that yields fewer than two fields (no name field) is skipped,
// so the record count can be below the line count. That covers an empty line between two
// separators and anything the command interpreter or the tool may print in place of a listing
// (for example the interpreter's "not recognized" message when the tool is missing): none of it
// may turn into an unnamed entry that a pass would then back up or create. A line with two to
// five fields gives a record whose missing texts are empty; this is also how an entry line whose
// last fields are empty reads, since an empty piece after the last separator does not count as
// a field (for the same reason a seventh field that is empty gives extra 1).
//
// Linear in the size of the output. Platform-free; any thread.

#include <cstdint>

#include "common/portable/Text.h"
#include "tooldriver/portable/EntryList.h"

// What a listing says about the tool's entries as a whole.
enum class ListingOutcome {
    Entries,  // at least one entry line, and no line that is not an entry holds the error marker
    Empty,    // blank output: a tool without entries prints nothing (so does one that never started)
    Failed,   // text without a single entry line, or a line that is not an entry holding the error
              // marker: the tool did not list its entries, and the records (if any) are not all of them
};

// Makes `list` hold the records of `output` and nothing else: whatever it held before is overwritten
// or released. Returns the number of records.
int32_t ParseEntryListing(const Text& output, EntryList& list);

// As ParseEntryListing, and says whether the output was a listing at all. After Failed, `list`
// holds whatever entry lines the output had; a caller must not take them for the tool's entries.
ListingOutcome ParseEntryListingOutcome(const Text& output, EntryList& list);
