#include "bench/soak/KillPlan.h"

#include <cstdio>
#include <iterator>
#include <optional>

#include "common/portable/TextOps.h"

namespace {

// How processes end without warning: ended from outside (Task Manager, taskkill /f), an access
// violation, the console closed (Ctrl+C's code).
constexpr unsigned long kExitCodes[] = {1, 0xC0000005ul, 0xC000013Aul};

struct KindOfKill {
    Victim victim;
    std::optional<Pass> pass;  // none: either
};
constexpr KindOfKill kKinds[] = {{Victim::ProgramInPass, Pass::Backup},
                                 {Victim::ProgramInPass, Pass::Restore},
                                 {Victim::ToolInBackup, Pass::Backup},
                                 {Victim::ToolInListing, std::nullopt},
                                 {Victim::RunCutOff, std::nullopt}};

Text PassName(Pass pass) {
    return pass == Pass::Backup ? "a backup" : "a restore";
}

Text Ordinal(int n) {
    const char* tail = n % 100 / 10 == 1 ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
    return IntToText(n) + tail;
}

}  // namespace

KillPlan PlanKill(std::mt19937_64& random, int entryCount) {
    auto draw = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    KillPlan plan;
    // Five kinds of equal weight: the program in a backup, in a restore, the tool mid-backup, the
    // tool mid-listing, a run cut off; the last two in a backup or a restore, drawn.
    const KindOfKill kind = kKinds[draw(0, static_cast<int>(std::size(kKinds)) - 1)];
    plan.victim = kind.victim;
    plan.pass = kind.pass ? *kind.pass : draw(0, 1) ? Pass::Backup : Pass::Restore;
    plan.throughWindow = draw(0, 1) == 1;
    plan.torn = draw(0, 1) == 1;
    // A backup lists once; a restore lists once for every line of the list of backups.
    const bool onePerEntry = plan.victim == Victim::ToolInBackup || plan.pass == Pass::Restore;
    plan.command = onePerEntry ? draw(1, entryCount) : 1;
    plan.moment = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    plan.exitCode = kExitCodes[draw(0, 2)];
    return plan;
}

Text KillKind(const KillPlan& plan) {
    switch (plan.victim) {
        case Victim::ProgramInPass:
            return "the program in " + PassName(plan.pass) + (plan.throughWindow ? " (window)" : " (command line)");
        case Victim::ToolInBackup:
            return Text("the tool mid-backup") + (plan.torn ? " (caught writing the file)" : " (slow answer)");
        case Victim::ToolInListing:
            return "the tool mid-listing, in " + PassName(plan.pass);
        case Victim::RunCutOff:
            return "a command-line run of " + PassName(plan.pass) + " cut off";
    }
    return Text();
}

Text DescribePlan(const KillPlan& plan) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%lX", plan.exitCode);
    Text text = KillKind(plan);
    if (plan.victim == Victim::ToolInBackup)
        text += ", the " + Ordinal(plan.command) + " backup command";
    else if (plan.victim == Victim::ToolInListing)
        text += ", the " + Ordinal(plan.command) + " listing";
    char share[16];
    std::snprintf(share, sizeof share, "%.3f", plan.moment);
    return text + ", at " + share + " of its window, exit code " + code;
}
