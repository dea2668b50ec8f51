#include "tools/entryctl/LineMatch.h"

#include <cstring>

namespace entryctl {
namespace {

bool SlotMayHoldQuotes(SlotKind kind) {
    return kind == SlotKind::Path || kind == SlotKind::Rest;
}

bool MatchFrom(const Text& line, size_t pos, const std::vector<Piece>& pieces, size_t i, std::vector<Text>& slots) {
    if (i == pieces.size())
        return pos == line.size();
    const Piece& piece = pieces[i];
    if (piece.kind == SlotKind::None) {
        size_t len = std::strlen(piece.text);
        if (line.compare(pos, len, piece.text) != 0)
            return false;
        return MatchFrom(line, pos + len, pieces, i + 1, slots);
    }
    if (i + 1 == pieces.size()) {
        Text value = line.substr(pos);
        if (!SlotMayHoldQuotes(piece.kind) && value.find('"') != Text::npos)
            return false;
        slots.push_back(value);
        return true;
    }
    // The next piece is a fixed text (no two slots stand side by side): try each place it occurs.
    const char* next = pieces[i + 1].text;
    for (size_t q = line.find(next, pos); q != Text::npos; q = line.find(next, q + 1)) {
        Text value = line.substr(pos, q - pos);
        if (!SlotMayHoldQuotes(piece.kind) && value.find('"') != Text::npos)
            return false;
        slots.push_back(value);
        if (MatchFrom(line, q, pieces, i + 1, slots))
            return true;
        slots.pop_back();
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

// The line with its program token (quoted or bare) spelled as kToolExeName.
Text CanonicalEntryLine(const Text& line) {
    size_t end;
    if (!line.empty() && line[0] == '"') {
        end = line.find('"', 1);
        end = end == Text::npos ? line.size() : end + 1;
    } else {
        end = line.find_first_of(" \t");
        if (end == Text::npos)
            end = line.size();
    }
    return Text(kToolExeName) + line.substr(end);
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

MatchedLine MatchCommandLine(const Text& rawLine) {
    // The command interpreter may leave blanks after the line it passes on; those that stand
    // outside quotes (an even number of quotes before them) are no part of any argument.
    Text line = rawLine;
    size_t quotes = 0;
    for (char c : line)
        quotes += c == '"';
    if (quotes % 2 == 0) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
    }
    const Text entryLine = CanonicalEntryLine(line);
    for (const Shape& shape : AllShapes()) {
        const bool startsWithPath = shape.pieces.front().kind == SlotKind::None &&
                                    std::strcmp(shape.pieces.front().text, kPathMark) == 0;
        const Text& subject = startsWithPath ? line : entryLine;
        std::vector<Text> slots;
        if (!MatchFrom(subject, 0, shape.pieces, 0, slots))
            continue;
        MatchedLine m;
        size_t k = 0;
        bool ok = true;
        for (const Piece& piece : shape.pieces) {
            if (piece.kind == SlotKind::None)
                continue;
            const Text& value = slots[k++];
            switch (piece.kind) {
                case SlotKind::Entry: m.entry = value; break;
                case SlotKind::A: m.a = value; break;
                case SlotKind::B: m.b = value; break;
                case SlotKind::Path: m.path = value; break;
                case SlotKind::Target: m.target = value; break;
                case SlotKind::Rest: m.rest = value; break;
                case SlotKind::Numbers: ok = ParseNumbers(value, shape.minNumbers, shape.maxNumbers, &m.numbers); break;
                case SlotKind::None: break;
            }
        }
        if (!ok)
            continue;
        if (shape.form == Form::Number && shape.op != Op::Options && !IsDigits(m.entry))
            continue;
        m.shape = &shape;
        return m;
    }
    return {};
}

}  // namespace entryctl
