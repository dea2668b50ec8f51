#include "tools/entryctl/LineMatch.h"

#include <cstring>
#include <map>

#include "tools/entryctl/Arguments.h"

namespace entryctl {
namespace {

// A slot stands in a shape's own line as one character of the private use area.
constexpr wchar_t kSlotMark = 0xE000;

// One argument of a shape: fixed text (kind None) and slots in order.
using ArgumentTemplate = std::vector<std::pair<Text, SlotKind>>;

std::vector<ArgumentTemplate> SplitShape(const Shape& shape) {
    std::wstring line;
    for (const Piece& piece : shape.pieces)
        line += piece.kind == SlotKind::None ? Widen(piece.text) : std::wstring(1, kSlotMark + int(piece.kind));
    std::vector<ArgumentTemplate> arguments;
    for (const std::wstring& argument : SplitWideCommandLine(line)) {
        ArgumentTemplate pieces;
        std::wstring fixed;
        for (wchar_t c : argument) {
            if (c < kSlotMark || c > kSlotMark + int(SlotKind::Rest)) {
                fixed += c;
                continue;
            }
            if (!fixed.empty())
                pieces.push_back({Narrow(fixed), SlotKind::None});
            fixed.clear();
            pieces.push_back({Text(), SlotKind(c - kSlotMark)});
        }
        if (!fixed.empty() || pieces.empty())
            pieces.push_back({Narrow(fixed), SlotKind::None});
        arguments.push_back(pieces);
    }
    return arguments;
}

// The split shapes, in the order of AllShapes().
const std::vector<std::vector<ArgumentTemplate>>& SplitShapes() {
    static const std::vector<std::vector<ArgumentTemplate>> split = [] {
        std::vector<std::vector<ArgumentTemplate>> all;
        for (const Shape& shape : AllShapes())
            all.push_back(SplitShape(shape));
        return all;
    }();
    return split;
}

bool SlotMayHoldQuotes(SlotKind kind) {
    return kind == SlotKind::Path || kind == SlotKind::Rest;
}

// Whether `argument` from `pos` on has the pieces t[i..], filling `slots`.
bool MatchFrom(const Text& argument, size_t pos, const ArgumentTemplate& t, size_t i, std::map<SlotKind, Text>& slots) {
    if (i == t.size())
        return pos == argument.size();
    const auto& [fixed, kind] = t[i];
    if (kind == SlotKind::None) {
        if (argument.compare(pos, fixed.size(), fixed) != 0)
            return false;
        return MatchFrom(argument, pos + fixed.size(), t, i + 1, slots);
    }
    auto fits = [&](const Text& value) { return SlotMayHoldQuotes(kind) || value.find('"') == Text::npos; };
    if (i + 1 == t.size()) {
        slots[kind] = argument.substr(pos);
        return fits(slots[kind]);
    }
    // The next piece is fixed text (no two slots stand side by side): try each place it occurs.
    const Text& next = t[i + 1].first;
    for (size_t q = argument.find(next, pos); q != Text::npos; q = argument.find(next, q + 1)) {
        slots[kind] = argument.substr(pos, q - pos);
        if (fits(slots[kind]) && MatchFrom(argument, q, t, i + 1, slots))
            return true;
    }
    return false;
}

bool ParseNumbers(const Text& text, int minCount, int maxCount, std::vector<int>* out) {
    out->clear();
    size_t pos = 0;
    while (true) {
        size_t end = text.find(kArgSep, pos);
        Text piece = text.substr(pos, end == Text::npos ? Text::npos : end - pos);
        size_t digits = (!piece.empty() && piece[0] == '-') ? 1 : 0;
        if (piece.size() <= digits || !IsDigits(piece.substr(digits)) || piece.size() > 11)
            return false;
        out->push_back(static_cast<int>(std::stoll(piece)));
        if (end == Text::npos)
            break;
        pos = end + std::strlen(kArgSep);
    }
    return static_cast<int>(out->size()) >= minCount && static_cast<int>(out->size()) <= maxCount;
}

// Fills `m` when `arguments` have the shape `split`.
bool MatchShape(const std::vector<Text>& arguments, const std::vector<ArgumentTemplate>& split, MatchedLine& m) {
    if (split.empty() || arguments.empty())
        return false;
    const bool endsWithRest = split.back().back().second == SlotKind::Rest;
    if (endsWithRest ? arguments.size() < split.size() : arguments.size() != split.size())
        return false;
    std::map<SlotKind, Text> slots;
    // The program token counts only where the shape has a slot for it (the tool's path).
    if (split[0].size() == 1 && split[0][0].second == SlotKind::Path)
        slots[SlotKind::Path] = arguments[0];
    for (size_t i = 1; i < split.size(); ++i) {
        if (endsWithRest && i + 1 == split.size()) {
            if (split[i].size() != 1)
                return false;
            m.rest.assign(arguments.begin() + i, arguments.end());
            break;
        }
        if (!MatchFrom(arguments[i], 0, split[i], 0, slots))
            return false;
    }
    m.entry = slots[SlotKind::Entry];
    m.a = slots[SlotKind::A];
    m.b = slots[SlotKind::B];
    m.path = slots[SlotKind::Path];
    m.target = slots[SlotKind::Target];
    if (slots.count(SlotKind::Numbers))
        return ParseNumbers(slots[SlotKind::Numbers], m.shape->minNumbers, m.shape->maxNumbers, &m.numbers);
    return true;
}

}  // namespace

bool IsDigits(const Text& text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

MatchedLine MatchCommandLine(const std::vector<Text>& arguments) {
    const std::vector<Shape>& shapes = AllShapes();
    for (size_t k = 0; k < shapes.size(); ++k) {
        const Shape& shape = shapes[k];
        MatchedLine m;
        m.shape = &shape;
        if (!MatchShape(arguments, SplitShapes()[k], m))
            continue;
        if (shape.form == Form::Number && shape.op != Op::Options && !IsDigits(m.entry))
            continue;
        return m;
    }
    return {};
}

}  // namespace entryctl
