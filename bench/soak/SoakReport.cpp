#include "bench/soak/SoakReport.h"

#include <cstdio>

#include "common/portable/TextOps.h"

namespace {

Text Duration(DWORD ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu:%02lu:%02lu", ms / 3600000ul, ms / 60000ul % 60, ms / 1000ul % 60);
    return text;
}

Text Seconds(DWORD ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

Text SeedText(uint64_t seed) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(seed));
    return text;
}

}  // namespace

void SoakReport::Add(int round, const RoundOutcome& outcome) {
    ++rounds_;
    const Text kind = KillKind(outcome.plan);
    if (outcome.killed) {
        ++kills_;
        ++killsByKind_[kind];
    } else {
        ++missesByKind_[kind];
    }
    for (const Text& note : outcome.notes)
        notes_.push_back("round " + IntToText(round) + ": " + note);
    if (outcome.findings.empty())
        return;
    Text text = "round " + IntToText(round) + " (replay: bench/soak/run --seed " + SeedText(seed_) + " --round " +
                IntToText(round) + ")\n     kill: " + DescribePlan(outcome.plan) +
                "\n     what happened: " + outcome.account + "\n     found:";
    for (const Text& finding : outcome.findings)
        text += "\n       - " + finding;
    if (!outcome.keptFolder.empty())
        text += "\n     files: " + outcome.keptFolder;
    broken_.push_back(text);
}

Text SoakReport::RoundLine(int round, const RoundOutcome& outcome) const {
    return "round " + IntToText(round) + ": " + KillKind(outcome.plan) + (outcome.killed ? ", killed" : ", no kill") +
           (outcome.findings.empty() ? ", sound" : ", BROKEN (" + IntToText(outcome.findings.size()) + " findings)") +
           " (" + Seconds(outcome.elapsedMs) + "; " + IntToText(kills_) + " kills so far)\n    " + outcome.account;
}

Text SoakReport::Summary(DWORD elapsedMs) const {
    Text text = "Crash-consistency soak, seed " + SeedText(seed_) + "\n";
    text += "  " + IntToText(kills_) + " kills in " + IntToText(rounds_) + " rounds, " + Duration(elapsedMs) + " (" +
            (kills_ ? Seconds(elapsedMs / kills_) : Text("-")) + " per kill)\n";
    text += "  broken states: " + IntToText(broken_.size()) + "\n";
    text += "\nKills by kind:\n";
    for (const auto& [kind, count] : killsByKind_)
        text += "  " + IntToText(count) + "  " + kind + "\n";
    if (!missesByKind_.empty()) {
        text += "Rounds without a kill (the process had ended before its moment; checked all the same):\n";
        for (const auto& [kind, count] : missesByKind_)
            text += "  " + IntToText(count) + "  " + kind + "\n";
    }
    if (!broken_.empty()) {
        text += "\nBroken states:\n";
        for (size_t k = 0; k < broken_.size(); ++k)
            text += "  " + IntToText(k + 1) + ". " + broken_[k] + "\n";
    }
    if (!notes_.empty()) {
        text += "\nNoticed, not the program's doing:\n";
        for (const Text& note : notes_)
            text += "  - " + note + "\n";
    }
    text +=
        "\nThis shows consistency after a process is killed (TerminateProcess), not after a power cut: a killed\n"
        "process's finished writes are in the system's cache and survive it; a power cut can lose them.\n";
    return text;
}
