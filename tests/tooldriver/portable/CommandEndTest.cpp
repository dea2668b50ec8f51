// How a command ended, judged against the success codes: only a child that ran to its end with one
// of them is done; a stopped, hung or unstarted one is never judged by its code.

#include "tooldriver/portable/CommandEnd.h"

#include <gtest/gtest.h>

TEST(CommandEndTest, OnlyACommandThatRanToItsEndWithASuccessCodeIsDone) {
    struct Case {
        const char* name;
        CaptureEnd end;
        uint32_t exitCode;
        std::vector<uint32_t> successCodes;
        CommandVerdict verdict;
    };
    const Case cases[] = {
        {"code 0", CaptureEnd::ChildEnded, 0, {0}, CommandVerdict::Done},
        {"code 1", CaptureEnd::ChildEnded, 1, {0}, CommandVerdict::FailedCode},
        {"a code the settings list", CaptureEnd::ChildEnded, 3, {0, 3}, CommandVerdict::Done},
        {"0 when the settings list others only", CaptureEnd::ChildEnded, 0, {3}, CommandVerdict::FailedCode},
        {"a crash", CaptureEnd::ChildEnded, 0xC0000005u, {0}, CommandVerdict::FailedCode},
        {"hung, whatever its code", CaptureEnd::Hung, 0, {0}, CommandVerdict::Hung},
        {"stopped", CaptureEnd::StopRequested, 0, {0}, CommandVerdict::Stopped},
        {"stopped by its observer", CaptureEnd::ObserverStopped, 0, {0}, CommandVerdict::Stopped},
        {"not started", CaptureEnd::NotStarted, 0, {0}, CommandVerdict::NotStarted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Capture capture;
        capture.end = c.end;
        capture.exitCode = c.exitCode;
        const CommandEnd end = JudgeCommand(capture, CommandPolicy{c.successCodes, 42});
        EXPECT_EQ(end.verdict, c.verdict);
        EXPECT_EQ(end.Done(), c.verdict == CommandVerdict::Done);
        EXPECT_EQ(end.hangSeconds, c.verdict == CommandVerdict::Hung ? 42 : 0);
    }
    EXPECT_EQ(ExitCodeText(3), "3 (0x00000003)");
    EXPECT_EQ(ExitCodeText(0xC0000005u), "3221225477 (0xC0000005)");
}
