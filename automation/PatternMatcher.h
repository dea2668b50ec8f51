#pragma once
// PatternMatcher runs a regular expression over a subject text through the system's pattern
// engine (an automation object) and hands out the matches, their groups and, on request, the
// byte position of such a text inside the subject.
//
//     PatternMatcher matcher;                        // initialises COM for this thread
//     if (matcher.Match("(\\d+)\\t(\\w+)", source))  // false: engine missing or pattern refused
//         for (int32_t row = 1; row <= matcher.MatchCount(); ++row)
//             Text cell = matcher.GroupText(row, 2);
//
// It hides the automation calls, the per-instance COM initialisation and the conversion from the
// engine's positions (UTF-16 characters) to byte offsets in the program's ANSI texts.
//
// Threads: an instance belongs to the thread that constructed it; every method runs there.
// Failures are silent: an instance without matches counts 0 matches and 0 groups, and numbers
// outside the collections give empty text (and the position of an empty text).
//
// The member functions are declared in the order of the class's operation table.

#include <cstdint>
#include <memory>

#include "automation/AutomationAccess.h"
#include "common/ComOwners.h"
#include "common/portable/Text.h"

class PatternMatcher {
public:
    // Initialises COM for the calling thread (undone by the destructor when it succeeded).
    PatternMatcher();

    // Release: lets go of the engine, the matches and the subject, then balances the instance's
    // COM initialisation.
    ~PatternMatcher();
    // Copy: shares the engine and the matches of `other` (one more reference each), copies its
    // subject, and initialises COM for the calling thread on its own behalf.
    PatternMatcher(const PatternMatcher& other);
    PatternMatcher& operator=(const PatternMatcher&) = delete;

    // Lets go of the engine, the matches and the subject now; the instance then behaves as one
    // that never matched. The COM initialisation is balanced when the instance is deleted.
    void Destroy();

    // A new instance made by the copy constructor.
    std::unique_ptr<PatternMatcher> Copy() const;

    // Runs `pattern` over `subjectText` with a new engine object. The switches: letter case is
    // ignored unless `caseArg`; every match is found when `switchTwoArg`, only the first
    // otherwise; ^ and $ match at line breaks when `switchFourArg`. With `expandMarks`, every
    // kMatchMarkToken in the pattern stands for kPathMark. True when the engine returned a match
    // collection, also an empty one; false when the engine cannot be created or refuses the pattern.
    bool Match(const Text& pattern,
               const Text& subjectText,
               bool caseArg = false,
               bool switchTwoArg = true,
               bool switchFourArg = true,
               bool expandMarks = false);

    // Does nothing.
    void Nop();

    // The engine's pattern; empty before the first Match.
    Text GetPattern() const;

    // The last subject with every match replaced by `replacement` (the engine's $1... references
    // apply). Empty text before the first Match.
    Text Replace(const Text& replacement) const;

    // Number of matches of the last Match; 0 when there is none.
    int32_t MatchCount() const;

    // Text of match `matchNo` (from 1). With `posOut`, also its 0-based byte offset in the
    // subject (see GroupText for how it is found).
    Text MatchText(int32_t matchNo, int32_t* posOut = nullptr) const;

    // Text of group `groupNo` (from 1) of match `matchNo` (from 1). With `posOut`, also the
    // 0-based byte offset of the first occurrence of that text at or after the start of the
    // match (so a group whose text occurs earlier inside its match gets that earlier place);
    // -2 when it is not found. An empty text is at 0 while anything of the subject remains
    // from the start of the search on, else -2.
    Text GroupText(int32_t matchNo, int32_t groupNo, int32_t* posOut = nullptr) const;

    // Number of groups of the first match; 0 when there is no match.
    int32_t GroupCount() const;

private:
    int32_t BytePosition(double charIndex, const Text& found) const;

    ScopedComInit com_;  // first in, last out: everything below needs COM
    AutomationObject engine_;
    AutomationObject matches_;
    VariantHolder subject_;
};

// Stands for kPathMark (a double quote) in patterns matched with `expandMarks`.
extern const char kMatchMarkToken[];
