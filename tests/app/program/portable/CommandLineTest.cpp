// The command line as the program reads it: the whole line GetCommandLineA gives, program name
// first, split and parsed into what the program is asked to do.

#include "app/program/portable/CommandLine.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(CommandLineTest, SplitsArgumentsAfterTheProgramNameKeepingBackslashes) {
    struct Case {
        const char* name;
        const char* line;
        TextArray expected;
    };
    const Case cases[] = {
        {"quoted program name with a space", "\"C:\\Program Files\\EK\\EntryKeeper.exe\" /backup", {"/backup"}},
        {"unquoted program name", "EntryKeeper.exe -restore", {"-restore"}},
        {"program name alone", "\"C:\\EK\\EntryKeeper.exe\"", {}},
        {"quotes inside a switch group its value", "ek /folder:\"D:\\My Backups\" /log:x",
         {"/folder:D:\\My Backups", "/log:x"}},
        // The C runtime would read \" as a quote character and run on into the next argument.
        {"a backslash before the closing quote stays a backslash", "ek /folder:\"D:\\Backups\\\" /backup",
         {"/folder:D:\\Backups\\", "/backup"}},
        {"tabs and runs of spaces separate", "ek\t/backup  \t /log:a", {"/backup", "/log:a"}},
        {"a whole quoted argument", "ek \"/log:C:\\a b\\run.log\"", {"/log:C:\\a b\\run.log"}},
        {"an empty quoted argument counts", "ek \"\" /backup", {"", "/backup"}},
        {"an unclosed quote runs to the end", "ek /folder:\"D:\\a b", {"/folder:D:\\a b"}},
        {"double-byte text whose second byte is a backslash", "ek /folder:\"D:\\\xb1\x5c\"",
         {"/folder:D:\\\xb1\x5c"}},
        {"unclosed quoted program name", "\"C:\\EK\\EntryKeeper.exe /backup", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CommandLineArguments(c.line), c.expected);
    }
}

TEST(CommandLineTest, ReadsTheSwitchesTheWindowsWay) {
    struct Case {
        const char* name;
        const char* line;
        ProgramAction action;
        const char* folder;
        const char* logFile;
    };
    const Case cases[] = {
        {"nothing opens the window", "\"C:\\EK\\EntryKeeper.exe\"", ProgramAction::Window, "", ""},
        {"backup", "ek /backup", ProgramAction::Backup, "", ""},
        {"restore", "ek /restore", ProgramAction::Restore, "", ""},
        {"a dash works as a slash", "ek -backup", ProgramAction::Backup, "", ""},
        {"letter case does not matter", "ek /BackUp", ProgramAction::Backup, "", ""},
        {"upper-case restore with a dash", "ek -RESTORE", ProgramAction::Restore, "", ""},
        {"folder and log with backup", "ek /backup /folder:\"D:\\Nightly backups\" /log:\"D:\\logs\\ek.log\"",
         ProgramAction::Backup, "D:\\Nightly backups", "D:\\logs\\ek.log"},
        {"any order, switch names in any case", "ek /LOG:run.log -Folder:D:\\b -backup", ProgramAction::Backup,
         "D:\\b", "run.log"},
        {"the value keeps its letter case", "ek /backup /folder:D:\\MixedCase", ProgramAction::Backup,
         "D:\\MixedCase", ""},
        {"a value may hold a colon", "ek /restore /log:C:\\logs\\ek.log", ProgramAction::Restore, "",
         "C:\\logs\\ek.log"},
        {"log alone goes with the window", "ek /log:\"C:\\ek.log\"", ProgramAction::Window, "", "C:\\ek.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineRequest request = ParseCommandLine(c.line);
        EXPECT_EQ(request.action, c.action) << request.problem;
        EXPECT_EQ(request.folder, c.folder);
        EXPECT_EQ(request.logFile, c.logFile);
        EXPECT_EQ(request.problem, "");
    }
}

TEST(CommandLineTest, AskingForHelpOrALineThatCannotBeFollowedGivesTheUsage) {
    struct Case {
        const char* name;
        const char* line;
        const char* problem;  // expected to be part of the problem text; empty: no problem text
    };
    const Case cases[] = {
        {"help", "ek /?", ""},
        {"help with a dash", "ek -?", ""},
        {"help wins over a pass", "ek /backup /?", ""},
        {"unknown switch", "ek /backupp", "Unknown switch: /backupp"},
        {"unknown switch in upper case", "ek /HELP", "Unknown switch: /HELP"},
        {"a word that is no switch", "ek backup", "Not understood: backup"},
        {"a slash alone", "ek /", "Not understood: /"},
        {"a value on a switch that takes none", "ek /backup:now", "Unknown switch: /backup:now"},
        {"both passes", "ek /backup /restore", "one of /backup and /restore"},
        {"a pass twice", "ek /backup -BACKUP", "one of /backup and /restore"},
        {"folder without a value", "ek /backup /folder", "/folder needs a value"},
        {"folder with an empty value", "ek /backup /folder:\"\"", "/folder needs a value"},
        {"log without a value", "ek /backup /log:", "/log needs a value"},
        {"folder twice", "ek /backup /folder:a /folder:b", "/folder is given twice"},
        {"log twice", "ek /backup /log:a -LOG:b", "/log is given twice"},
        {"folder with restore", "ek /restore /folder:D:\\b", "/folder goes with /backup"},
        {"folder with the window", "ek /folder:D:\\b", "/folder goes with /backup"},
        {"an empty argument", "ek \"\"", "Not understood"},
        {"timeout without a number", "ek /backup /timeout:soon", "/timeout needs a whole number of seconds"},
        {"timeout past a day", "ek /backup /timeout:86401", "/timeout needs"},
        {"a negative timeout", "ek /backup /timeout:-1", "/timeout needs"},
        {"timeout twice", "ek /backup /timeout:5 /timeout:6", "/timeout is given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineRequest request = ParseCommandLine(c.line);
        EXPECT_EQ(request.action, ProgramAction::Usage);
        EXPECT_FALSE(request.RunsAPass());
        if (*c.problem) {
            EXPECT_NE(request.problem.find(c.problem), Text::npos) << request.problem;
        } else {
            EXPECT_EQ(request.problem, "");
        }
    }
}

TEST(CommandLineTest, TimeoutGivesTheHangLimitOfTheRun) {
    struct Case {
        const char* line;
        std::optional<int> seconds;
    };
    const Case cases[] = {
        {"ek /backup", std::nullopt},
        {"ek /backup /timeout:30", 30},
        {"ek -RESTORE -TIMEOUT:0", 0},
        {"ek /timeout:86400", 86400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const CommandLineRequest request = ParseCommandLine(c.line);
        EXPECT_NE(request.action, ProgramAction::Usage) << request.problem;
        EXPECT_EQ(request.hangSeconds, c.seconds);
    }
}

// A line with a pass switch was meant for a run nobody may watch: the usage must know, and where
// its log file is, whatever else is wrong with the line.
TEST(CommandLineTest, AUsageKnowsWhetherTheLineAskedForAPass) {
    struct Case {
        const char* name;
        const char* line;
        bool passSwitch;
        const char* logFile;
    };
    const Case cases[] = {
        {"help alone", "ek /?", false, ""},
        {"an unknown switch alone", "ek /bogus /log:a.log", false, "a.log"},
        {"help with a pass", "ek /backup /?", true, ""},
        {"an unknown switch with a pass", "ek /bogus -RESTORE /log:\"C:\\l\\run.log\"", true, "C:\\l\\run.log"},
        {"a problem before the log switch", "ek /backup /timeout:x /log:later.log", true, "later.log"},
        {"two log files give none", "ek /backup /log:a /log:b", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineRequest request = ParseCommandLine(c.line);
        EXPECT_EQ(request.action, ProgramAction::Usage);
        EXPECT_EQ(request.passSwitchGiven, c.passSwitch);
        EXPECT_EQ(request.logFile, c.logFile);
    }
}

TEST(CommandLineTest, ExitCodesFollowHowThePassEnded) {
    EXPECT_EQ(ExitCodeOf(PassResult::AllDone), 0);
    EXPECT_EQ(ExitCodeOf(PassResult::SomeNotDone), 1);
    EXPECT_EQ(ExitCodeOf(PassResult::NotDone), 2);
    EXPECT_EQ(kExitNotDone, 2) << "the usage message exits with 2 too";
}

}  // namespace
