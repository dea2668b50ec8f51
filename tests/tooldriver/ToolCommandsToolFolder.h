#pragma once
// A private copy of the stand-in tool (entryctl.exe) in a scratch folder that is ToolDir for the
// life of the object. The tool keeps its entries, its journal of received command lines and its
// fault switches beside its program, so each copy is a tool of its own.

#include <windows.h>

#include <gtest/gtest.h>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/CommandRunner.h"
#include "tooldriver/ToolCommandsRunner.h"
#include "toollink/portable/ToolLocation.h"

class ToolCopy {
public:
    ToolCopy() {
        ClearToolLocation();
        const Text source = BuiltProgramPath("entryctl.exe");
        copied_ = ::CopyFileA(source.c_str(), folder_.File("entryctl.exe").c_str(), FALSE) != 0;
        EXPECT_TRUE(copied_) << "cannot copy " << source;
        SetToolDir(folder_.Path());
    }
    ~ToolCopy() {
        ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());  // so the folder can be removed
        ClearToolLocation();
    }
    ToolCopy(const ToolCopy&) = delete;
    ToolCopy& operator=(const ToolCopy&) = delete;

    bool Ready() const { return copied_; }
    const Text& Path() const { return folder_.Path(); }
    Text File(const Text& name) const { return folder_.File(name); }

    // Runs `entryctl.exe admin <words>` in the tool's folder; its answer.
    Text Admin(const Text& words) const {
        return RunningInToolDir(RunConsoleCommand)("entryctl.exe admin " + words, nullptr, false);
    }

    // Adds an entry; its number.
    int32_t Add(const Text& name, const Text& content = "") const {
        return TextToInt(Admin("add \"" + name + "\"" + (content.empty() ? "" : " \"" + content + "\"")));
    }

    // Turns on one of the tool's fault switches.
    void Fault(const Text& switchLine) const { Admin("fault \"" + switchLine + "\""); }

    // The command lines the tool received, in order.
    TextArray Journal() const { return SplitText(ReadWholeFile(folder_.File("journal.log")), kLineSep); }

private:
    ScratchFolder folder_;
    bool copied_ = false;
};
