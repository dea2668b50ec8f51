#include "app/program/Startup.h"

#include <memory>

#include "app/log/Log.h"
#include "app/program/FullPaths.h"
#include "app/program/ProgramFolder.h"
#include "app/program/ProgramHandlers.h"
#include "app/program/RunLogFile.h"
#include "app/program/Settings.h"
#include "app/program/StartupToolTimeLimit.h"
#include "app/program/UnattendedRun.h"
#include "app/program/Usage.h"
#include "app/window/MainWindow.h"
#include "common/ComOwners.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/portable/ToolLocation.h"

namespace {

// Releases the process-wide state when start-up's scope ends, whichever way it ends. Passes that
// still run keep the command object alive through their own shares of it; they were asked to
// stop when the window closed and are not waited for.
class ExitStep {
public:
    explicit ExitStep(std::shared_ptr<ToolCommands>& commands) : commands_(commands) {}
    ~ExitStep() {
        commands_.reset();
        ClearToolLocation();
    }
    ExitStep(const ExitStep&) = delete;
    ExitStep& operator=(const ExitStep&) = delete;

private:
    std::shared_ptr<ToolCommands>& commands_;
};

}  // namespace

int RunEntryKeeper(HINSTANCE instance, int showCommand) {
    const CommandLineRequest request = WithFullPaths(ParseCommandLine(GetCommandLineA()), ProgramFolder());
    if (request.action == ProgramAction::Usage)
        return ShowUsage(request);
    ScopedRunLogFile logFile(request);

    // The window thread's apartment, before any window exists: the folder dialog runs here.
    ScopedComInit com;

    // Locates the tool and runs its target listing once, before the window exists. Start-up waits
    // for that listing only so long: a tool that hangs must not keep the window from appearing.
    // A tool that is not found shows later as empty output in the passes.
    std::shared_ptr<ToolCommands> commands;
    bool toolDidNotAnswer = false;
    {
        StartupToolTimeLimit timeLimit;
        commands = std::make_shared<ToolCommands>(timeLimit.Runner());
        toolDidNotAnswer = timeLimit.ToolDidNotAnswer();
    }
    ExitStep exitStep(commands);
    // The rules for the tool's commands: the settings file's, /timeout in place of its hang limit.
    ToolSettings toolSettings = LoadToolSettings(ProgramFolder());
    if (request.hangSeconds)
        toolSettings.policy.hangSeconds = *request.hangSeconds;
    commands->SetPolicy(toolSettings.policy);

    ProgramHandlers handlers(ProgramFolder(), commands, !request.RunsAPass());
    UnattendedRun unattended(request, handlers.Passes());
    MainWindow window(&handlers);
    if (!window.Create(instance, unattended.ShowCommand(showCommand)))
        return unattended.ExitCode(1);
    if (toolDidNotAnswer)
        AppendLog(window.Handle(), kStartupNoAnswerText);
    for (const Text& problem : toolSettings.problems)
        AppendLog(window.Handle(), problem);
    unattended.Begin(window.Handle());
    return unattended.ExitCode(window.RunMessageLoop());
}
