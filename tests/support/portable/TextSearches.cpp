#include "tests/support/portable/TextSearches.h"

bool EndsWith(const Text& text, const Text& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int Occurrences(const Text& text, const Text& part) {
    if (part.empty())
        return 0;
    int count = 0;
    for (size_t at = text.find(part); at != Text::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}
