#include "app/program/portable/CommandLine.h"

#include <algorithm>
#include <string>

#include "tooldriver/portable/CommandEnd.h"

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

// A switch's name (lower case, without its lead character) and whether it has a value.
Text SwitchName(const Text& argument, bool* hasValue) {
    const size_t colon = argument.find(':');
    *hasValue = colon != Text::npos;
    return LowerAscii(argument.substr(1, colon == Text::npos ? Text::npos : colon - 1));
}

bool IsSwitch(const Text& argument) {
    return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '-');
}

// What a usage for `arguments` needs to know of a line that asked for a pass: that it did, and
// where its log file is (exactly one /log with a value).
void NoteUnattended(const TextArray& arguments, CommandLineRequest& usage) {
    int logs = 0;
    for (const Text& argument : arguments) {
        if (!IsSwitch(argument))
            continue;
        bool hasValue = false;
        const Text name = SwitchName(argument, &hasValue);
        if ((name == "backup" || name == "restore") && !hasValue)
            usage.passSwitchGiven = true;
        if (name == "log" && hasValue && ++logs == 1)
            usage.logFile = argument.substr(argument.find(':') + 1);
    }
    if (logs != 1)
        usage.logFile.clear();
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

namespace {

CommandLineRequest ParseArguments(const TextArray& arguments) {
    CommandLineRequest request;
    bool folderGiven = false;
    bool logGiven = false;
    for (const Text& argument : arguments) {
        if (!IsSwitch(argument))
            return Problem("Not understood: " + argument);
        bool hasValue = false;
        const Text name = SwitchName(argument, &hasValue);
        const Text value = hasValue ? argument.substr(argument.find(':') + 1) : Text();

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
        } else if (name == "timeout") {
            if (request.hangSeconds)
                return Problem("/timeout is given twice.");
            request.hangSeconds = ParseHangSeconds(value);
            if (!request.hangSeconds)
                return Problem("/timeout needs a whole number of seconds from 0 to " + std::to_string(kMaxHangSeconds) +
                               ": /timeout:600.");
        } else {
            return Problem("Unknown switch: " + argument);
        }
    }
    if (folderGiven && request.action != ProgramAction::Backup)
        return Problem("/folder goes with /backup.");
    return request;
}

}  // namespace

CommandLineRequest ParseCommandLine(const Text& commandLine) {
    const TextArray arguments = CommandLineArguments(commandLine);
    CommandLineRequest request = ParseArguments(arguments);
    if (request.action == ProgramAction::Usage) {
        NoteUnattended(arguments, request);
    } else {
        // A later problem (a /log path refused, say) still needs to know.
        request.passSwitchGiven = request.RunsAPass();
    }
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
