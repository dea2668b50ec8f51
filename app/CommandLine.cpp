#include "app/CommandLine.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

Text LowerAscii(Text text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return LowerAscii(c); });
    return text;
}

// Where the program's name ends: after its closing quote when it is quoted, else at the first blank.
size_t ProgramNameEnd(const Text& line) {
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        return close == Text::npos ? line.size() : close + 1;
    }
    size_t end = 0;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    return end;
}

CommandLineRequest Problem(Text problem) {
    CommandLineRequest usage;
    usage.action = ProgramAction::Usage;
    usage.problem = std::move(problem);
    return usage;
}

}  // namespace

TextArray CommandLineArguments(const Text& commandLine) {
    TextArray arguments;
    Text current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = ProgramNameEnd(commandLine); i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

CommandLineRequest ParseCommandLine(const Text& commandLine) {
    CommandLineRequest request;
    bool folderGiven = false;
    bool logGiven = false;
    for (const Text& argument : CommandLineArguments(commandLine)) {
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
            return Problem("Not understood: " + argument);
        const size_t colon = argument.find(':');
        const Text name = LowerAscii(argument.substr(1, colon == Text::npos ? Text::npos : colon - 1));
        const bool hasValue = colon != Text::npos;
        const Text value = hasValue ? argument.substr(colon + 1) : Text();

        if (name == "?" && !hasValue)
            return Problem(Text());
        if ((name == "backup" || name == "restore") && !hasValue) {
            const ProgramAction action = name == "backup" ? ProgramAction::Backup : ProgramAction::Restore;
            if (request.action != ProgramAction::Window)
                return Problem("Give one of /backup and /restore, once.");
            request.action = action;
        } else if (name == "folder" || name == "log") {
            bool& given = name == "folder" ? folderGiven : logGiven;
            if (given)
                return Problem("/" + name + " is given twice.");
            if (value.empty()) {
                const Text placeholder = name == "folder" ? "<folder>" : "<file>";
                return Problem("/" + name + " needs a value: /" + name + ":\"" + placeholder + "\".");
            }
            given = true;
            (name == "folder" ? request.folder : request.logFile) = value;
        } else {
            return Problem("Unknown switch: " + argument);
        }
    }
    if (folderGiven && request.action != ProgramAction::Backup)
        return Problem("/folder goes with /backup.");
    return request;
}

int ExitCodeOf(PassResult result) {
    switch (result) {
        case PassResult::AllDone:
            return kExitAllDone;
        case PassResult::SomeNotDone:
            return kExitSomeNotDone;
        case PassResult::NotDone:
            return kExitNotDone;
    }
    return kExitNotDone;
}
