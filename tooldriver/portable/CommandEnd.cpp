#include "tooldriver/portable/CommandEnd.h"

#include <algorithm>
#include <cstdio>

#include "common/portable/TextOps.h"

namespace {

Text Trimmed(const Text& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == Text::npos)
        return Text();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A whole number of `digits` in `base` no larger than `limit`.
std::optional<uint64_t> ReadNumber(const Text& digits, int base, uint64_t limit) {
    if (digits.empty() || digits.size() > 20)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

}  // namespace

CommandEnd JudgeCommand(const Capture& capture, const CommandPolicy& policy) {
    CommandEnd end;
    end.breakawayRefused = capture.breakawayRefused;
    switch (capture.end) {
        case CaptureEnd::ChildEnded: {
            end.exitCode = capture.exitCode;
            const auto& codes = policy.successCodes;
            end.verdict = std::find(codes.begin(), codes.end(), capture.exitCode) != codes.end()
                              ? CommandVerdict::Done
                              : CommandVerdict::FailedCode;
            break;
        }
        case CaptureEnd::Hung:
            end.verdict = CommandVerdict::Hung;
            end.hangSeconds = policy.hangSeconds;
            end.processesEnded = capture.processesEnded;
            end.leftRunning = capture.leftRunning;
            break;
        case CaptureEnd::ObserverStopped:
        case CaptureEnd::StopRequested:
            end.verdict = CommandVerdict::Stopped;
            break;
        case CaptureEnd::NotStarted:
            end.verdict = CommandVerdict::NotStarted;
            break;
    }
    return end;
}

CommandEnd RefusedCommand() {
    CommandEnd end;
    end.verdict = CommandVerdict::Refused;
    return end;
}

std::optional<std::vector<uint32_t>> ParseSuccessCodes(const Text& value, Text* problem) {
    std::vector<uint32_t> codes;
    const Text whole = Trimmed(value);
    if (whole.empty()) {
        *problem = "it lists no code";
        return std::nullopt;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = whole.find(',', start);
        const Text piece = Trimmed(whole.substr(start, comma == Text::npos ? Text::npos : comma - start));
        const bool hex = piece.size() > 2 && piece[0] == '0' && (piece[1] == 'x' || piece[1] == 'X');
        const std::optional<uint64_t> code = ReadNumber(hex ? piece.substr(2) : piece, hex ? 16 : 10, 0xFFFFFFFFu);
        if (!code) {
            *problem = "\"" + piece + "\" is not an exit code (a whole number from 0 to 4294967295)";
            return std::nullopt;
        }
        if (*code == kStillActiveCode || *code == kProgramNotFoundCode) {
            *problem = IntToText(static_cast<int>(*code)) +
                       (*code == kStillActiveCode ? " means a program that is still running"
                                                  : " is the command interpreter's \"program not found\"") +
                       ", never a success";
            return std::nullopt;
        }
        codes.push_back(static_cast<uint32_t>(*code));
        if (comma == Text::npos)
            break;
        start = comma + 1;
    }
    return codes;
}

std::optional<int> ParseHangSeconds(const Text& value) {
    const std::optional<uint64_t> seconds = ReadNumber(Trimmed(value), 10, kMaxHangSeconds);
    if (!seconds)
        return std::nullopt;
    return static_cast<int>(*seconds);
}

Text ExitCodeText(uint32_t code) {
    char text[40];
    std::snprintf(text, sizeof text, "%lu (0x%08lX)", static_cast<unsigned long>(code),
                  static_cast<unsigned long>(code));
    return text;
}
