#include "tests/support/UiDriverRun.h"

#include <string>

#include "tests/support/TestPaths.h"

CapturedRunResult RunUiDriver(DWORD processId, const Text& arguments, DWORD timeoutMs) {
    // Appended piece by piece: one long chain of + draws a false -Wrestrict warning from GCC 12.
    Text line = "\"";
    line += BuiltProgramPath("uidriver.exe");
    line += "\" --pid ";
    line += std::to_string(processId);
    line += " --timeout ";
    line += std::to_string(timeoutMs);
    line += " ";
    line += arguments;
    // Its own waits end first; this one only keeps a stuck driver from hanging the test.
    return RunCaptured(line, timeoutMs + 30000);
}
