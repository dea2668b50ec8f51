#pragma once
// What a command line must carry, written apart from the program's own rules, for the tests and
// fuzz targets that check every line the program builds: which texts must be refused, and the
// argument list a line is meant to give. Platform-free (no Windows header); any thread.

#include <map>
#include <vector>

#include "common/portable/Text.h"
#include "tests/support/portable/CommandLineSplit.h"

// Plain texts that stand in for the entry (numeric and name form), the two text arguments, the
// target id and the tool's path when a command is built to learn the shape of its lines: each
// passes every rule and is found again unchanged in the arguments.
inline const Text kNumberMarker = "90817263";
inline const Text kNameMarker = "EMARKQ";
inline const Text kAMarker = "AMARKQ";
inline const Text kBMarker = "BMARKQ";
inline const Text kTargetMarker = "TMARKQ";
inline const Text kToolMarker = "C:\\PMARKQ\\entryctl.exe";

// A text that cannot be an argument on a command line: it holds a double quote, a carriage
// return, a line feed or a zero byte, or (under code page 936, `doubleByte`) a lead byte 0x81-0xFE
// without a second byte 0x40-0x7E or 0x80-0xFE after it. (A percent sign can: the program writes
// it as a reference to a variable that holds one.)
bool MustBeRefused(const Text& text, bool doubleByte);

// A text that cannot be placed on a command line as it stands (the tool's path, a raw part): one
// that MustBeRefused, or that holds a percent sign.
bool MustBeRefusedAsItStands(const Text& text, bool doubleByte);

// Whether a variable of `name` may be defined where the command runner runs a command: the runner
// keeps every name that starts with a double quote out of its children's environment; any other
// may be defined.
bool MayBeDefinedForTheRunner(const WideText& name);

// A text holding one of the command interpreter's operators & | < > ^ ( ).
bool HasInterpreterOperator(const Text& text);

// The arguments meant: `marked` (the split of a line built with plain marker texts) with every
// marker replaced by its text. The text of `wordsMarker` (may be empty: none) stands outside
// quotes on the line, as the caller's own words: its blanks separate arguments.
std::vector<WideText> SubstituteMarkers(const std::vector<WideText>& marked,
                                        const std::map<WideText, WideText>& texts,
                                        const WideText& wordsMarker);

// "[arg1][arg2]..." with ShowUnits for each, for messages.
Text ShowArguments(const std::vector<WideText>& arguments);
