#include "tests/support/portable/CommandLineSplit.h"

#include <cstdio>

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameSwitch(const WideText& token, const char* name) {
    size_t i = 0;
    for (; name[i]; ++i) {
        if (i >= token.size() || Lower(token[i]) != static_cast<char16_t>(name[i]))
            return false;
    }
    return i == token.size();
}

bool IsOperator(char16_t c) {
    return c == u'&' || c == u'|' || c == u'<' || c == u'>' || c == u'^' || c == u'(' || c == u')';
}

InterpreterReading Unsafe(const Text& problem) {
    InterpreterReading reading;
    reading.problem = problem;
    return reading;
}

}  // namespace

InterpreterReading ReadAsInterpreter(const WideText& line, const MayBeDefined& mayBeDefined) {
    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    // The interpreter's own program token.
    bool quoted = false;
    while (pos < line.size() && (quoted || !IsBlank(line[pos]))) {
        if (line[pos] == u'"')
            quoted = !quoted;
        ++pos;
    }
    bool stripSwitch = false, delayedExpansion = false, found = false;
    while (pos < line.size() && !found) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        size_t end = pos;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        const WideText token = line.substr(pos, end - pos);
        if (token.empty() || token[0] != u'/')
            return Unsafe("no /c before the command");
        if (SameSwitch(token, "/c") || SameSwitch(token, "/k"))
            found = true;
        else if (SameSwitch(token, "/s"))
            stripSwitch = true;
        else if (SameSwitch(token, "/v:on"))
            delayedExpansion = true;
        else if (SameSwitch(token, "/v:off"))
            delayedExpansion = false;
        pos = end;
    }
    if (!found)
        return Unsafe("no /c before the command");
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    WideText rest = line.substr(pos);

    size_t quotes = 0, first = WideText::npos, last = WideText::npos;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == u'"') {
            ++quotes;
            first = first == WideText::npos ? i : first;
            last = i;
        }
    }
    bool keep = false;
    if (!stripSwitch && quotes == 2) {
        bool special = false, blank = false;
        for (size_t i = first + 1; i < last; ++i) {
            special = special || IsOperator(rest[i]) || rest[i] == u'@';
            blank = blank || IsBlank(rest[i]);
        }
        keep = !special && blank;
    }
    if (!keep && !rest.empty() && rest[0] == u'"') {
        rest.erase(last, 1);
        rest.erase(0, 1);
    }

    size_t start = 0;
    while (start < rest.size() && IsBlank(rest[start]))
        ++start;
    if (start < rest.size() && rest[start] == u'@')
        ++start;

    // Every percent sign with a later one: the text between names a variable, or its part before
    // a colon does.
    for (size_t i = rest.find(u'%', start); i != WideText::npos; i = rest.find(u'%', i + 1)) {
        const size_t close = rest.find(u'%', i + 1);
        if (close == WideText::npos)
            break;
        const WideText name = rest.substr(i + 1, close - i - 1);
        const WideText beforeColon = name.substr(0, name.find(u':'));
        if ((!name.empty() && mayBeDefined(name)) || (!beforeColon.empty() && mayBeDefined(beforeColon)))
            return Unsafe("a percent sign before the name of a variable (expansion)");
    }
    const WideText command = rest.substr(start);

    bool inQuotes = false;
    for (size_t i = 0; i < command.size(); ++i) {
        const char16_t c = command[i];
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (c == u'!' && delayedExpansion)
            return Unsafe("an exclamation mark under delayed expansion");
        else if (c == u'\r' || c == u'\n' || c == 0)
            return Unsafe("a line break or zero ends the command");
        else if (!inQuotes && IsOperator(c))
            return Unsafe(Text("the operator ") + static_cast<char>(c) + " outside quotes");
    }
    InterpreterReading reading;
    reading.safe = true;
    reading.command = command;
    return reading;
}

std::vector<WideText> SplitAsCRuntime(const WideText& command) {
    std::vector<WideText> arguments;
    size_t pos = 0;
    // The program: quotes group and vanish, backslashes are plain.
    WideText program;
    bool quoted = false;
    for (; pos < command.size() && (quoted || !IsBlank(command[pos])); ++pos) {
        if (command[pos] == u'"')
            quoted = !quoted;
        else
            program += command[pos];
    }
    arguments.push_back(program);
    while (true) {
        while (pos < command.size() && IsBlank(command[pos]))
            ++pos;
        if (pos >= command.size())
            break;
        WideText argument;
        bool inQuotes = false;
        while (pos < command.size() && (inQuotes || !IsBlank(command[pos]))) {
            size_t backslashes = 0;
            while (pos < command.size() && command[pos] == u'\\') {
                ++backslashes;
                ++pos;
            }
            if (pos < command.size() && command[pos] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument += u'"';
                } else if (inQuotes && pos + 1 < command.size() && command[pos + 1] == u'"') {
                    argument += u'"';
                    ++pos;
                } else {
                    inQuotes = !inQuotes;
                }
                ++pos;
                continue;
            }
            argument.append(backslashes, u'\\');
            if (pos < command.size() && (inQuotes || !IsBlank(command[pos])))
                argument += command[pos++];
        }
        arguments.push_back(argument);
    }
    return arguments;
}

WideText DecodeWithLeadBytes(const Text& bytes, const LeadBytes& leadBytes) {
    WideText units;
    for (size_t pos = 0; pos < bytes.size(); ++pos) {
        const unsigned char b = static_cast<unsigned char>(bytes[pos]);
        if (leadBytes.IsLead(b) && pos + 1 < bytes.size()) {
            const unsigned char second = static_cast<unsigned char>(bytes[++pos]);
            units += static_cast<char16_t>(0x8000 | ((b & 0x7F) << 8) | second);
        } else {
            units += static_cast<char16_t>(b);
        }
    }
    return units;
}

Text ShowUnits(const WideText& units) {
    Text shown;
    for (char16_t c : units) {
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char hex[12];
            std::snprintf(hex, sizeof(hex), "<%X>", static_cast<unsigned>(c));
            shown += hex;
        }
    }
    return shown;
}
