#pragma once
// A command runner for the command class's tests: records every line it is handed, the
// current directory at that moment and how it was called, and answers with a chosen output;
// and a fixture that puts a command object on it.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/Text.h"
#include "tests/support/TestPaths.h"
#include "tooldriver/ToolCommands.h"
#include "toollink/portable/ToolLocation.h"

struct RecordedCall {
    Text line;
    Text currentDirectory;
    bool hadObserver = false;
    bool notifyChunks = false;
};

class FakeToolRunner {
public:
    // The tool's answer to a line; empty output (a tool that cannot be started) by default.
    std::function<Text(const Text& line)> answer = [](const Text&) { return Text(); };

    CommandRunnerFn Runner() {
        return [this](const Text& line, const ChunkObserver* observer, bool notifyChunks) {
            char dir[MAX_PATH] = {};
            ::GetCurrentDirectoryA(MAX_PATH, dir);
            {
                std::lock_guard<std::mutex> guard(lock_);
                calls_.push_back({line, dir, observer != nullptr, notifyChunks});
            }
            return answer(line);
        };
    }

    std::vector<RecordedCall> Calls() const {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_;
    }

    TextArray Lines() const {
        TextArray lines;
        for (const RecordedCall& call : Calls())
            lines.push_back(call.line);
        return lines;
    }

    void Clear() {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.clear();
    }

private:
    mutable std::mutex lock_;
    std::vector<RecordedCall> calls_;
};

// A command object whose runner is a FakeToolRunner, with a scratch folder as ToolDir. Another
// folder is current when a test starts, so each command must move to the tool's own.
class ToolCommandsWithFake : public ::testing::Test {
protected:
    void SetUp() override {
        ClearToolLocation();
        SetToolDir(toolDir_.Path());
        commands_.emplace(fake_.Runner());
        fake_.Clear();
        ::SetCurrentDirectoryA(elsewhere_.Path().c_str());
    }

    void TearDown() override {
        ::SetCurrentDirectoryA(BuiltProgramFolder().c_str());  // so the scratch folders can go
        ClearToolLocation();
    }

    const ToolCommands& Commands() const { return *commands_; }

    ScratchFolder toolDir_;
    ScratchFolder elsewhere_;
    FakeToolRunner fake_;
    std::optional<ToolCommands> commands_;
};
