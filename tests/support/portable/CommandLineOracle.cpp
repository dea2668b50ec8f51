#include "tests/support/portable/CommandLineOracle.h"

namespace {

bool WholeIn936(const Text& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x81 || b > 0xFE)
            continue;
        if (i + 1 == text.size())
            return false;
        const unsigned char second = static_cast<unsigned char>(text[++i]);
        if (second < 0x40 || second == 0x7F || second == 0xFF)
            return false;
    }
    return true;
}

}  // namespace

bool MustBeRefused(const Text& text, bool doubleByte) {
    return text.find_first_of(Text("\"\r\n\0", 4)) != Text::npos || (doubleByte && !WholeIn936(text));
}

bool MustBeRefusedAsItStands(const Text& text, bool doubleByte) {
    return MustBeRefused(text, doubleByte) || text.find('%') != Text::npos;
}

bool MayBeDefinedForTheRunner(const WideText& name) {
    return name.empty() || name[0] != u'"';
}

bool HasInterpreterOperator(const Text& text) {
    return text.find_first_of("&|<>^()") != Text::npos;
}

std::vector<WideText> SubstituteMarkers(const std::vector<WideText>& marked,
                                        const std::map<WideText, WideText>& texts,
                                        const WideText& wordsMarker) {
    std::vector<WideText> result;
    for (const WideText& argument : marked) {
        WideText current;
        bool exists = true;  // the marked argument is one even when it comes out empty
        for (size_t pos = 0; pos < argument.size();) {
            bool replaced = false;
            for (const auto& [marker, text] : texts) {
                if (marker.empty() || argument.compare(pos, marker.size(), marker) != 0)
                    continue;
                if (marker != wordsMarker) {
                    current += text;
                    exists = true;
                } else {
                    for (char16_t c : text) {
                        if (c == u' ' || c == u'\t') {
                            if (exists)
                                result.push_back(current);
                            current.clear();
                            exists = false;
                        } else {
                            current += c;
                            exists = true;
                        }
                    }
                }
                pos += marker.size();
                replaced = true;
                break;
            }
            if (!replaced) {
                current += argument[pos++];
                exists = true;
            }
        }
        if (exists)
            result.push_back(current);
    }
    return result;
}

Text ShowArguments(const std::vector<WideText>& arguments) {
    Text shown;
    for (const WideText& a : arguments)
        shown += "[" + ShowUnits(a) + "]";
    return shown;
}
