#include "automation/PatternMatcher.h"

#include <cmath>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

// Two backquotes read like the quote they stand for, need no escaping in C++ or in the engine's
// syntax, and do not occur in the tool's output, so a pattern never needs them literally.
const char kMatchMarkToken[] = "``";

namespace {

// The engine: the system's regular expression object.
constexpr char kMatchClass[] = "VBScript.RegExp";

// The engine has three switches for the four of Match. The third (always true) and the fourth
// both drive Multiline, the fourth last, so every argument of Match keeps its effect and the
// defaults turn every switch on, as the row import needs (all rows, any case, line anchors).
constexpr char kCaseSwitch[] = "IgnoreCase";
constexpr char kSwitchTwo[] = "Global";
constexpr char kSwitchThree[] = "Multiline";
constexpr char kSwitchFour[] = "Multiline";

constexpr char kPatternProperty[] = "Pattern";
constexpr char kMatchMethod[] = "Execute";
constexpr char kReplaceMethod[] = "Replace";
constexpr char kCountProperty[] = "Count";
constexpr char kItemMember[] = "Item";
constexpr char kValueProperty[] = "Value";
constexpr char kIndexProperty[] = "FirstIndex";
constexpr char kGroupsProperty[] = "SubMatches";

// The position search ignores letter case when the text form of kCaseSwitch equals this mark.
// The texts handed out are the engine's own copies of subject characters, so an exact search
// always finds them, while a search ignoring case could stop early at the same letters in another
// case and report a wrong place. The switch's text forms are "-1" and "0"; a one-character mark
// that is neither keeps the search exact whatever the switch says.
constexpr char kCaseMark[] = "1";

}  // namespace

PatternMatcher::PatternMatcher() {
    ::VariantInit(subject_.get());
    V_VT(subject_.get()) = VT_I4;
    V_I4(subject_.get()) = 0;
}

PatternMatcher::~PatternMatcher() {
    Destroy();
}

PatternMatcher::PatternMatcher(const PatternMatcher& other) {
    AssignObject(engine_, other.engine_);
    AssignObject(matches_, other.matches_);
    ::VariantCopy(subject_.get(), const_cast<VARIANT*>(other.subject_.get()));
}

void PatternMatcher::Destroy() {
    ReleaseObject(engine_);
    ReleaseObject(matches_);
    ClearVariant(subject_);
}

std::unique_ptr<PatternMatcher> PatternMatcher::Copy() const {
    return std::make_unique<PatternMatcher>(*this);
}

bool PatternMatcher::Match(const Text& pattern,
                           const Text& subjectText,
                           bool caseArg,
                           bool switchTwoArg,
                           bool switchFourArg,
                           bool expandMarks) {
    ReleaseObject(engine_);
    ReleaseObject(matches_);
    CreateObject(engine_, kMatchClass);
    SetProperty(engine_, kCaseSwitch, !caseArg);
    SetProperty(engine_, kSwitchTwo, switchTwoArg);
    SetProperty(engine_, kSwitchThree, true);
    SetProperty(engine_, kSwitchFour, switchFourArg);
    SetProperty(engine_, kPatternProperty, expandMarks ? ReplaceText(pattern, kMatchMarkToken, kPathMark) : pattern);
    AssignVariant(subject_, subjectText);
    matches_ = CallMethod<AutomationObject>(engine_, kMatchMethod, subject_);
    return !IsEmptyObject(matches_);
}

void PatternMatcher::Nop() {}

Text PatternMatcher::GetPattern() const {
    return GetProperty<Text>(engine_, kPatternProperty);
}

Text PatternMatcher::Replace(const Text& replacement) const {
    VariantHolder with;
    AssignVariant(with, replacement);
    Text replaced = CallMethod<Text>(engine_, kReplaceMethod, subject_, ByRef(with));
    ClearVariant(with);
    return replaced;
}

int32_t PatternMatcher::MatchCount() const {
    return static_cast<int32_t>(std::trunc(GetProperty<double>(matches_, kCountProperty)));
}

Text PatternMatcher::MatchText(int32_t matchNo, int32_t* posOut) const {
    AutomationObject match = GetProperty<AutomationObject>(matches_, kItemMember, static_cast<double>(matchNo) - 1);
    const Text text = VariantToText(GetProperty<VariantHolder>(match, kValueProperty));
    if (posOut)
        *posOut = BytePosition(GetProperty<double>(match, kIndexProperty), text);
    return text;
}

Text PatternMatcher::GroupText(int32_t matchNo, int32_t groupNo, int32_t* posOut) const {
    AutomationObject match = GetProperty<AutomationObject>(matches_, kItemMember, static_cast<double>(matchNo) - 1);
    AutomationObject groups = GetProperty<AutomationObject>(match, kGroupsProperty);
    const Text text = VariantToText(GetProperty<VariantHolder>(groups, kItemMember, static_cast<double>(groupNo) - 1));
    if (posOut)
        *posOut = BytePosition(GetProperty<double>(match, kIndexProperty), text);
    return text;
}

int32_t PatternMatcher::GroupCount() const {
    AutomationObject first = GetProperty<AutomationObject>(matches_, kItemMember, 0.0);
    AutomationObject groups = GetProperty<AutomationObject>(first, kGroupsProperty);
    ReleaseObject(first);
    return static_cast<int32_t>(std::trunc(GetProperty<double>(groups, kCountProperty)));
}

// The engine counts UTF-16 characters, the subject here is bytes in which a double-byte
// character takes two, so a text's byte offset is never below its character index. The search
// therefore starts at the index taken as a 1-based byte position (at or just before the true
// place) and goes forward. FindText walks whole characters from the start of the subject, so a
// start that falls on the second byte of a pair moves on to the next character instead of
// reading the pair out of step.
int32_t PatternMatcher::BytePosition(double charIndex, const Text& found) const {
    const Text subject = VariantToText(subject_);
    const bool caseMode = VariantToText(GetProperty<VariantHolder>(engine_, kCaseSwitch)) == kCaseMark;
    const double truncated = std::trunc(charIndex);
    const int start = truncated > 1 ? (truncated < static_cast<double>(subject.size()) + 1 ? static_cast<int>(truncated)
                                                                                          : static_cast<int>(subject.size()) + 1)
                                    : 1;
    if (static_cast<size_t>(start - 1) >= subject.size())
        return -2;
    if (found.empty())
        return 0;
    return FindText(subject, found, caseMode, start) - 1;
}
