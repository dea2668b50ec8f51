#pragma once
// Finds the run of the stand-in tool that serves one command of a pass. The tool writes every
// command line it receives to its journal before it carries it out, so the n-th journal line of a
// command ("backup", "list") stands for the n-th such command of the pass; a pass runs one tool
// command at a time, so the newest run of the tool then alive serves it.
//
// One thread. The journal is emptied before the run that is watched starts.

#include <windows.h>

#include <functional>
#include <vector>

#include "common/WinHandles.h"
#include "common/portable/Text.h"

class ToolCommandWatch {
  public:
    ToolCommandWatch(const Text& toolExe, const Text& journal) : toolExe_(toolExe), journal_(journal) {}

    // How many journal lines name the command `verb`.
    int Count(const Text& verb) const;

    // Waits until the journal names the command `verb` for the `n`-th time, while `keepWaiting`
    // holds and for at most `timeoutMs`. The run of the tool that serves it, opened to be ended
    // (OpenToKill), with its journal line in `line`; null when the command never came or its run had
    // ended already.
    UniqueHandle WaitForRun(const Text& verb,
                            int n,
                            const std::function<bool()>& keepWaiting,
                            DWORD timeoutMs,
                            Text* line) const;

  private:
    // The journal's lines that name `verb`, in order.
    std::vector<Text> LinesOf(const Text& verb) const;
    // The run of the tool that started last among those alive now; null when none is.
    UniqueHandle NewestRun() const;

    Text toolExe_;
    Text journal_;
};
