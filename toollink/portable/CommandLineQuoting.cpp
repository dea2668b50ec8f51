#include "toollink/portable/CommandLineQuoting.h"

#include <utility>

#include "toollink/portable/CommandLineSafety.h"

Text WithPercentSignsOutsideQuotes(const Text& argument, const LeadBytes& leadBytes) {
    Text placed;
    size_t run = 0;  // backslash characters right before the current position
    for (size_t pos = 0; pos < argument.size();) {
        const size_t length = leadBytes.CharLength(argument, pos);
        if (length == 1 && argument[pos] == '%') {
            placed.append(run, '\\').append("\"%\"");
            run = 0;
        } else {
            placed.append(argument, pos, length);
            run = length == 1 && argument[pos] == '\\' ? run + 1 : 0;
        }
        pos += length;
    }
    return placed;
}

Text BeforeClosingQuote(const Text& argument, const LeadBytes& leadBytes) {
    // Walk whole characters: a run of backslash characters restarts after anything else, and the
    // second byte of a pair never counts, whatever its value.
    size_t run = 0;
    for (size_t pos = 0; pos < argument.size();) {
        const size_t length = leadBytes.CharLength(argument, pos);
        run = length == 1 && argument[pos] == '\\' ? run + 1 : 0;
        pos += length;
    }
    return argument + Text(run, '\\');
}

std::optional<Text> BuildCommandLine(const LinePieces& pieces, const LeadBytes& leadBytes) {
    Text line;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const LinePiece& piece = pieces[i];
        if (piece.kind == LinePieceKind::Fixed) {
            line += piece.text;
            continue;
        }
        if (piece.kind == LinePieceKind::Program) {
            if (!IsSafeVerbatimText(piece.text, leadBytes))
                return std::nullopt;
            line += piece.text;
            continue;
        }
        if (!IsSafeCommandArgument(piece.text, leadBytes))
            return std::nullopt;
        size_t next = i + 1;
        while (next < pieces.size() && pieces[next].text.empty())
            ++next;
        const bool closesQuote = next < pieces.size() && pieces[next].text[0] == '"';
        // After the last percent sign the text runs on inside quotes, its closing run unchanged.
        const Text placed = WithPercentSignsOutsideQuotes(piece.text, leadBytes);
        line += closesQuote ? BeforeClosingQuote(placed, leadBytes) : placed;
    }
    return line;
}

std::optional<TextArray> BuildCommandLines(const CommandLines& lines, const LeadBytes& leadBytes) {
    TextArray built;
    for (const LinePieces& pieces : lines) {
        std::optional<Text> line = BuildCommandLine(pieces, leadBytes);
        if (!line)
            return std::nullopt;
        built.push_back(std::move(*line));
    }
    return built;
}
