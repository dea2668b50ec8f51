// entryctl.exe, the stand-in console tool, run as a real child process: each case gets a copy
// of the program in a scratch folder of its own (the tool keeps its state beside its program).

#include <windows.h>

#include <gtest/gtest.h>

// GCC 12 reports a false -Wrestrict inside std::string concatenation (its bug 105329).
#pragma GCC diagnostic ignored "-Wrestrict"

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>

#include "common/WinHandles.h"
#include "tests/support/TestPaths.h"
#include "tests/support/portable/TextSearches.h"
#include "toollink/portable/vocabulary/ToolVocabulary.h"
#include "tools/entryctl/CommandShapes.h"
#include "tools/entryctl/Faults.h"

namespace {

struct RunResult {
    Text out;   // standard output (both streams when run with combined output)
    Text err;   // standard error
    DWORD exitCode = 0;
    bool ended = true;  // false: still running at the deadline, then killed
};

// Drains one pipe on its own thread so a child writing much to both streams never blocks.
class PipeReader {
public:
    explicit PipeReader(HANDLE readEnd) : readEnd_(readEnd), thread_([this] { Drain(); }) {}
    ~PipeReader() { Join(); }
    const Text& Join() {
        if (thread_.joinable())
            thread_.join();
        return bytes_;
    }

private:
    void Drain() {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd_.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
            bytes_.append(buffer, got);
    }
    UniqueHandle readEnd_;
    Text bytes_;
    std::thread thread_;
};

// A private copy of entryctl.exe and the means to run command lines on it.
class ToolCopy {
public:
    ToolCopy() {
        exe_ = folder_.File(kToolExeName);
        EXPECT_TRUE(CopyFileA(BuiltProgramPath(kToolExeName).c_str(), exe_.c_str(), FALSE));
    }

    const Text& Folder() const { return folder_.Path(); }
    const Text& Exe() const { return exe_; }
    Text File(const Text& name) const { return folder_.File(name); }

    // Starts this copy with `line` as its command line exactly (the program token of an entry
    // line names the tool relative to its folder; the copy is what runs either way).
    RunResult Run(const Text& line, DWORD deadlineMs = 30000, bool combined = false) const {
        return Start(exe_.c_str(), line, deadlineMs, combined);
    }

    // Runs `line` through the command interpreter in the tool's folder, as the program does.
    RunResult RunThroughInterpreter(const Text& line) const {
        return Start(nullptr, "cmd.exe /d /c " + line, 30000, true);
    }

    RunResult Admin(const Text& arguments) const { return Run(Text(kToolExeName) + " admin " + arguments); }

    Text Journal() const { return ReadWholeFile(File("journal.log")); }
    void SetFaults(const Text& lines) const { ASSERT_TRUE(WriteWholeFile(File("faults.txt"), lines)); }

private:
    RunResult Start(const char* application, const Text& line, DWORD deadlineMs, bool combined) const {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
        EXPECT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
        UniqueHandle outWriteOwner(outWrite);
        UniqueHandle errWriteOwner;
        if (!combined) {
            EXPECT_TRUE(CreatePipe(&errRead, &errWrite, &inherit, 0));
            errWriteOwner.reset(errWrite);
        }
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        si.hStdOutput = outWrite;
        si.hStdError = combined ? outWrite : errWrite;
        PROCESS_INFORMATION pi{};
        Text mutableLine = line;
        RunResult result;
        BOOL started = CreateProcessA(application, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      folder_.Path().c_str(), &si, &pi);
        outWriteOwner.reset();
        errWriteOwner.reset();
        PipeReader outReader(outRead);
        std::unique_ptr<PipeReader> errReader(combined ? nullptr : new PipeReader(errRead));
        EXPECT_TRUE(started) << line;
        if (!started)
            return result;
        UniqueHandle process(pi.hProcess), thread(pi.hThread);
        if (WaitForSingleObject(process.get(), deadlineMs) == WAIT_TIMEOUT) {
            result.ended = false;
            TerminateProcess(process.get(), 99);
            WaitForSingleObject(process.get(), INFINITE);
        }
        GetExitCodeProcess(process.get(), &result.exitCode);
        result.out = outReader.Join();
        if (errReader)
            result.err = errReader->Join();
        return result;
    }

    ScratchFolder folder_;
    Text exe_;
};

bool Has(const Text& text, const Text& needle) {
    return text.find(needle) != Text::npos;
}

Text AddEntry(const ToolCopy& tool, const Text& name, const Text& content) {
    RunResult r = tool.Admin("add \"" + name + "\" \"" + content + "\"");
    EXPECT_EQ(0u, r.exitCode) << r.err;
    return r.out.substr(0, r.out.find('\r'));
}

// Listing lines split into fields.
std::vector<std::vector<Text>> ListingRows(const Text& listing) {
    std::vector<std::vector<Text>> rows;
    size_t pos = 0;
    while (pos < listing.size()) {
        size_t end = listing.find(kLineSep, pos);
        Text line = listing.substr(pos, end == Text::npos ? Text::npos : end - pos);
        pos = end == Text::npos ? listing.size() : end + std::strlen(kLineSep);
        std::vector<Text> fields;
        size_t start = 0;
        while (true) {
            size_t sep = line.find(kCoordSep, start);
            fields.push_back(line.substr(start, sep == Text::npos ? Text::npos : sep - start));
            if (sep == Text::npos)
                break;
            start = sep + std::strlen(kCoordSep);
        }
        rows.push_back(fields);
    }
    return rows;
}

Text ShowContent(const ToolCopy& tool, const Text& name) {
    return tool.Run(kEntryPrefixName + name + kQueryTextTextName + "content" + kPathMark).out;
}

Text BackupLine(const Text& name, const Text& file) {
    return kBackupEntryLeadName + name + kBackupEntryTextName + file + kPathMark;
}
Text RestoreLine(const Text& name, const Text& file) {
    return kRestoreEntryLeadName + name + kRestoreEntryTextName + file + kPathMark;
}

// Names as code page 936 bytes: "备份" (B1 B8, B7 DD) and a character whose second byte is a
// backslash (95 5C), which a byte-wise escaper must not take for an escape.
const Text kDoubleByteName = "\xB1\xB8\xB7\xDD \xB1\xB8";
const Text kBackslashTrailName = "x\x95\x5Cy";

TEST(EntryctlTest, ListingHasSevenFieldsPerEntryWithTheNumberMarked) {
    ToolCopy tool;
    EXPECT_EQ("", tool.Run(kListCommand).out) << "no entries: empty answer";

    AddEntry(tool, "alpha", "12345");
    AddEntry(tool, kDoubleByteName, "");
    RunResult r = tool.Run(kListCommand);
    ASSERT_EQ(0u, r.exitCode);
    ASSERT_GE(r.out.size(), std::strlen(kLineSep));
    EXPECT_EQ(kLineSep, r.out.substr(r.out.size() - std::strlen(kLineSep))) << "every line is closed";
    auto rows = ListingRows(r.out);
    ASSERT_EQ(2u, rows.size());
    for (const auto& row : rows)
        EXPECT_EQ(7u, row.size());
    EXPECT_EQ(Text(kNumberMark) + "1", rows[0][0]);
    EXPECT_EQ("alpha", rows[0][1]);
    EXPECT_EQ("5", rows[0][6]) << "the seventh field is the content size";
    EXPECT_EQ(Text(kNumberMark) + "2", rows[1][0]);
    EXPECT_EQ(kDoubleByteName, rows[1][1]) << "names are listed as the bytes they were given";
}

TEST(EntryctlTest, ListingKeepsTabsAndLineBreaksOfFieldsOutOfTheFormat) {
    ToolCopy tool;
    AddEntry(tool, "e", "");
    ASSERT_EQ(0u, tool.Run(kEntryPrefixName + Text("e") + kCommand40TextName + "a\tb" + kPathMark).exitCode);
    auto rows = ListingRows(tool.Run(kListCommand).out);
    ASSERT_EQ(1u, rows.size());
    ASSERT_EQ(7u, rows[0].size());
    EXPECT_EQ("a b", rows[0][4]);
}

TEST(EntryctlTest, CreateAnswersMarkerAndNewNumberInEachMode) {
    struct Case {
        const char* name;
        const char* mode;
    } cases[] = {{"mode one", kCreateModeText1}, {"mode two", kCreateModeText2}, {"mode three", kCreateModeText3}};
    ToolCopy tool;
    AddEntry(tool, "existing", "");
    int expectedNumber = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunResult r = tool.Run(kCreateEntryLead + Text(c.name) + kCreateEntryText + c.mode);
        ASSERT_TRUE(Has(r.out, kCreateMarker)) << r.out << r.err;
        Text rest = r.out;
        rest.erase(0, std::strlen(kCreateStrip));
        EXPECT_EQ(std::to_string(expectedNumber) + kLineSep, rest);
        auto rows = ListingRows(tool.Run(kListCommand).out);
        ASSERT_EQ(static_cast<size_t>(expectedNumber), rows.size());
        EXPECT_EQ(c.name, rows.back()[1]);
        EXPECT_EQ(c.mode, rows.back()[2]) << "the kind field shows the mode";
        ++expectedNumber;
    }
}

TEST(EntryctlTest, CreateRefusesWithoutMarker) {
    struct Case {
        const char* name;
        Text line;
        const char* faults;
    } cases[] = {
        {"unknown mode", kCreateEntryLead + Text("new") + kCreateEntryText + "9", ""},
        {"name taken", kCreateEntryLead + Text("taken") + kCreateEntryText + kCreateModeText3, ""},
        {"empty name", kCreateEntryLead + Text("") + kCreateEntryText + kCreateModeText3, ""},
        {"told to fail", kCreateEntryLead + Text("new") + kCreateEntryText + kCreateModeText3, "create-fail\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolCopy tool;
        AddEntry(tool, "taken", "");
        tool.SetFaults(c.faults);
        RunResult r = tool.Run(c.line, 30000, true);
        EXPECT_FALSE(Has(r.out, kCreateMarker)) << r.out;
        EXPECT_TRUE(Has(r.out, kErrorMarker)) << r.out;
        EXPECT_NE(0u, r.exitCode);
        EXPECT_EQ(1u, ListingRows(tool.Run(kListCommand).out).size()) << "nothing was created";
    }
}

TEST(EntryctlTest, BackupAndRestoreRoundTripWhateverTheName) {
    const Text names[] = {"plain", "with spaces  inside", "a&b ^c (d) |e| <f>", kDoubleByteName,
                          kBackslashTrailName, "1st place"};
    for (const Text& name : names) {
        SCOPED_TRACE(name);
        ToolCopy tool;
        const Text content = "line one\r\nline\ttwo with \\ and \xB1\xB8";
        AddEntry(tool, name, "");
        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + name + kCommand43TextName + "ignored" + kPathMark).exitCode);
        // Content with line breaks cannot travel on a command line; import it from a file.
        ASSERT_TRUE(WriteWholeFile(tool.File("content.txt"), content));
        ASSERT_EQ(0u, tool.Run(kCommand28LeadName + name + kCommand28TextName + tool.File("content.txt")).exitCode);
        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + name + kCommand02TextName + "label & more" + kPathMark).exitCode);

        const Text file = tool.File("backup of entry.bak");
        RunResult backup = tool.Run(BackupLine(name, file));
        ASSERT_EQ(0u, backup.exitCode) << backup.err;
        ASSERT_TRUE(FileExists(file));

        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + name + kCommand43TextName + "overwritten" + kPathMark).exitCode);
        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + name + kCommand02TextName + "other" + kPathMark).exitCode);
        RunResult restore = tool.Run(RestoreLine(name, file));
        EXPECT_TRUE(Has(restore.out, kRestoreMarker)) << restore.out << restore.err;
        EXPECT_EQ(content, ShowContent(tool, name));
        auto rows = ListingRows(tool.Run(kListCommand).out);
        ASSERT_EQ(1u, rows.size());
        EXPECT_EQ(name, rows[0][1]);
        EXPECT_EQ("label & more", rows[0][3]);
    }
}

// Both passes of the program may run the tool at the same moment; no change may get lost.
TEST(EntryctlTest, ConcurrentRunsSeeEachOthersChanges) {
    ToolCopy tool;
    constexpr int kRuns = 6;
    std::vector<RunResult> results(kRuns);
    std::vector<std::thread> threads;
    for (int i = 0; i < kRuns; ++i) {
        threads.emplace_back([&, i] {
            results[i] = tool.Run(kCreateEntryLead + ("entry " + std::to_string(i)) + kCreateEntryText + kCreateModeText3);
        });
    }
    for (std::thread& t : threads)
        t.join();
    std::vector<Text> numbers;
    for (const RunResult& r : results) {
        EXPECT_TRUE(Has(r.out, kCreateMarker)) << r.err;
        numbers.push_back(r.out);
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers.end(), std::adjacent_find(numbers.begin(), numbers.end())) << "every entry its own number";
    EXPECT_EQ(static_cast<size_t>(kRuns), ListingRows(tool.Run(kListCommand).out).size());
    EXPECT_EQ(static_cast<size_t>(kRuns), static_cast<size_t>(Occurrences(tool.Journal(), kCreateEntryLead)));
}

TEST(EntryctlTest, NumericFormAddressesTheEntryByNumber) {
    ToolCopy tool;
    AddEntry(tool, "first", "one");
    AddEntry(tool, "2", "named two");  // a name made of digits is still a name
    AddEntry(tool, "third", "three");
    const Text file = tool.File("n.bak");
    ASSERT_EQ(0u, tool.Run(kBackupEntryLeadNumber + Text("3") + kBackupEntryTextNumber + file + kPathMark).exitCode);
    ASSERT_EQ(0u, tool.Run(kEntryPrefixNumber + Text("3") + kCommand43TextNumber + "changed" + kPathMark).exitCode);
    EXPECT_EQ("changed", ShowContent(tool, "third"));
    RunResult r = tool.Run(kRestoreEntryLeadNumber + Text("3") + kRestoreEntryTextNumber + file + kPathMark);
    EXPECT_TRUE(Has(r.out, kRestoreMarker));
    EXPECT_EQ("three", ShowContent(tool, "third"));
    EXPECT_EQ("named two", ShowContent(tool, "2"));
    EXPECT_EQ("one", tool.Run(kEntryPrefixNumber + Text("1") + kQueryTextTextNumber + "content" + kPathMark).out);
}

TEST(EntryctlTest, DamagedOrMissingBackupIsRefusedAndTheEntryKept) {
    struct Case {
        const char* name;
        void (*damage)(Text& bytes);
    } cases[] = {
        {"content byte changed", [](Text& b) { b[b.size() - 2] ^= 0x01; }},
        {"content cut short", [](Text& b) { b.resize(b.size() - 3); }},
        {"byte added", [](Text& b) { b += "x"; }},
        {"name in header changed", [](Text& b) { b[b.find("name: ") + 6] ^= 0x20; }},
        {"label in header changed", [](Text& b) { b[b.find("label: ") + 7] ^= 0x20; }},
        {"checksum changed", [](Text& b) { char& c = b[b.find("checksum: ") + 10]; c = c == '0' ? '1' : '0'; }},
        {"heading changed", [](Text& b) { b[0] = 'E'; }},
        {"empty file", [](Text& b) { b.clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolCopy tool;
        AddEntry(tool, "victim", "original content");
        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + Text("victim") + kCommand02TextName + "Label" + kPathMark).exitCode);
        const Text file = tool.File("victim.bak");
        ASSERT_EQ(0u, tool.Run(BackupLine("victim", file)).exitCode);
        Text bytes = ReadWholeFile(file);
        ASSERT_FALSE(bytes.empty());
        c.damage(bytes);
        ASSERT_TRUE(WriteWholeFile(file, bytes));
        ASSERT_EQ(0u, tool.Run(kEntryPrefixName + Text("victim") + kCommand43TextName + "current" + kPathMark).exitCode);

        RunResult r = tool.Run(RestoreLine("victim", file), 30000, true);
        EXPECT_FALSE(Has(r.out, kRestoreMarker)) << r.out;
        EXPECT_TRUE(Has(r.out, kErrorMarker));
        EXPECT_NE(0u, r.exitCode);
        EXPECT_EQ("current", ShowContent(tool, "victim"));
    }
    ToolCopy tool;
    AddEntry(tool, "victim", "kept");
    RunResult r = tool.Run(RestoreLine("victim", tool.File("no such file.bak")), 30000, true);
    EXPECT_FALSE(Has(r.out, kRestoreMarker));
    EXPECT_EQ("kept", ShowContent(tool, "victim"));
}

TEST(EntryctlTest, BackupOfAnEntryThatDoesNotExistWritesNothing) {
    ToolCopy tool;
    AddEntry(tool, "present", "");
    const Text file = tool.File("absent.bak");
    RunResult r = tool.Run(BackupLine("absent", file), 30000, true);
    EXPECT_TRUE(Has(r.out, kErrorMarker));
    EXPECT_FALSE(FileExists(file));
    r = tool.Run(RestoreLine("absent", file), 30000, true);
    EXPECT_FALSE(Has(r.out, kRestoreMarker));
}

TEST(EntryctlTest, SilentBackupFailureLooksLikeSuccessButWritesNoFile) {
    ToolCopy tool;
    AddEntry(tool, "e", "data");
    const Text good = tool.File("good.bak"), silent = tool.File("silent.bak");
    RunResult fine = tool.Run(BackupLine("e", good));
    tool.SetFaults("backup-silent\r\n");
    RunResult quiet = tool.Run(BackupLine("e", silent));
    EXPECT_EQ(fine.out, quiet.out);
    EXPECT_EQ(fine.exitCode, quiet.exitCode);
    EXPECT_TRUE(FileExists(good));
    EXPECT_FALSE(FileExists(silent));
}

TEST(EntryctlTest, TornBackupLeavesHalfAFileInPlaceAndNeverEnds) {
    ToolCopy tool;
    AddEntry(tool, "e", Text(4000, 'x'));
    const Text good = tool.File("good.bak"), torn = tool.File("torn.bak");
    ASSERT_EQ(0u, tool.Run(BackupLine("e", good)).exitCode);
    ASSERT_TRUE(WriteWholeFile(torn, "the file that was there"));
    tool.SetFaults("backup-torn\r\n");
    RunResult r = tool.Run(BackupLine("e", torn), 1500);
    EXPECT_FALSE(r.ended);
    const Text whole = ReadWholeFile(good);
    EXPECT_EQ(ReadWholeFile(torn), whole.substr(0, whole.size() / 2)) << "written in place, cut in the middle";
    // The killed run left the tool's folder free for the next command.
    tool.SetFaults("");
    EXPECT_TRUE(tool.Run(kListCommand, 30000).ended);
}

// The tool's exit code says how its command ended: 0 for an answer (the faults that only change
// the answer included), non-zero for a failure and for an abrupt end; exit-code changes the code
// of an answer that succeeded, and the die faults end the tool part-way through its work.
TEST(EntryctlTest, TheExitCodeSaysHowTheCommandEnded) {
    ToolCopy tool;
    AddEntry(tool, "a", Text(4000, 'x'));
    AddEntry(tool, "b", "");
    AddEntry(tool, "c", "");
    const Text file = tool.File("a.bak");
    const Text normal = tool.Run(kListCommand).out;
    struct Case {
        const char* name;
        const char* faults;
        Text line;
        DWORD exitCode;
        int listedRows;  // rows of the listing printed; -1: not a listing
    };
    const Case cases[] = {
        {"a listing", "", kListCommand, 0, 3},
        {"a backup", "", BackupLine("a", file), 0, -1},
        {"a silent backup is an answer", "backup-silent\r\n", BackupLine("a", file), 0, -1},
        {"a slow listing is an answer", "slow 10\r\n", kListCommand, 0, 3},
        {"a listing with a zero byte is an answer", "zero-byte\r\n", kListCommand, 0, 3},
        {"a listing with a warning is an answer", "stderr\r\n", kListCommand, 0, 3},
        {"a big listing is an answer", "big-listing 2\r\n", kListCommand, 0, 5},
        {"a backup of no such entry", "", BackupLine("nobody", file), 1, -1},
        {"a tool out of order", "fail-all\r\n", kListCommand, 1, 0},
        {"an unknown command", "", "entryctl.exe bogus", 2, -1},
        {"another code for an answer", "exit-code 3\r\n", kListCommand, 3, 3},
        {"a large code for an answer", "exit-code 0xC0000409\r\n", kListCommand, 0xC0000409u, 3},
        {"another code for the named command only", "exit-code 3\r\nonly backup\r\n", kListCommand, 0, 3},
        {"another code keeps a failure's", "exit-code 3\r\n", BackupLine("nobody", file), 1, -1},
        {"a listing that dies after a line", "die-list 1\r\n", kListCommand, entryctl::kDiedExitCode, 1},
        {"a listing that dies at once", "die-list 0\r\n", kListCommand, entryctl::kDiedExitCode, 0},
        {"a backup that dies", "die-backup\r\n", BackupLine("a", file), entryctl::kDiedExitCode, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(file.c_str());
        tool.SetFaults(c.faults);
        const RunResult r = tool.Run(c.line);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(r.exitCode, c.exitCode);
        if (c.listedRows >= 0) {
            EXPECT_EQ(static_cast<int>(ListingRows(r.out).size()), c.listedRows) << r.out;
            if (c.listedRows == 3 && c.exitCode != 0) {
                EXPECT_EQ(r.out, normal) << "the answer as usual, only the code differs";
            }
        }
    }

    // A backup that dies leaves the first part of the file it was writing, and the entries as they were.
    tool.SetFaults("");
    ASSERT_EQ(0u, tool.Run(BackupLine("a", file)).exitCode);
    const Text whole = ReadWholeFile(file);
    DeleteFileA(file.c_str());
    tool.SetFaults("die-backup\r\n");
    ASSERT_EQ(entryctl::kDiedExitCode, tool.Run(BackupLine("a", file)).exitCode);
    EXPECT_EQ(ReadWholeFile(file), whole.substr(0, whole.size() / 2));
    tool.SetFaults("");
    EXPECT_EQ(normal, tool.Run(kListCommand).out);
}

TEST(EntryctlTest, ToolOutOfOrderAnswersEveryCommandWithAnErrorAlone) {
    ToolCopy tool;
    AddEntry(tool, "e", "data");
    tool.SetFaults("fail-all\r\n");
    for (const Text& line : {Text(kListCommand), BackupLine("e", tool.File("e.bak"))}) {
        SCOPED_TRACE(line);
        RunResult r = tool.Run(line, 30000, true);
        EXPECT_NE(r.exitCode, 0u);
        EXPECT_TRUE(Has(r.out, kErrorMarker));
        EXPECT_EQ(r.out.find(kCoordSep), Text::npos) << "no entry line";
    }
    EXPECT_FALSE(FileExists(tool.File("e.bak")));
    tool.SetFaults("");
    EXPECT_EQ("data", ShowContent(tool, "e"));
}

TEST(EntryctlTest, RefusedRestorePrintsNoMarkerAndChangesNothing) {
    ToolCopy tool;
    AddEntry(tool, "e", "before");
    const Text file = tool.File("e.bak");
    ASSERT_EQ(0u, tool.Run(BackupLine("e", file)).exitCode);
    ASSERT_EQ(0u, tool.Run(kEntryPrefixName + Text("e") + kCommand43TextName + "after" + kPathMark).exitCode);
    tool.SetFaults("restore-refuse\r\n");
    RunResult r = tool.Run(RestoreLine("e", file), 30000, true);
    EXPECT_FALSE(Has(r.out, kRestoreMarker));
    EXPECT_TRUE(Has(r.out, kErrorMarker));
    EXPECT_EQ("after", ShowContent(tool, "e"));
}

TEST(EntryctlTest, OutputFaults) {
    ToolCopy tool;
    AddEntry(tool, "a", "");
    AddEntry(tool, "b", "");
    const Text normal = tool.Run(kListCommand).out;
    const Text firstLine = normal.substr(0, normal.find(kLineSep) + std::strlen(kLineSep));

    tool.SetFaults("zero-byte\r\n");
    EXPECT_EQ(firstLine + Text(1, '\0') + normal.substr(firstLine.size()), tool.Run(kListCommand).out);

    tool.SetFaults("stderr\r\n");
    RunResult split = tool.Run(kListCommand);
    EXPECT_EQ(normal, split.out) << "standard output unchanged";
    EXPECT_FALSE(split.err.empty()) << "a line on standard error";
    RunResult joined = tool.Run(kListCommand, 30000, true);
    EXPECT_EQ(firstLine + split.err + normal.substr(firstLine.size()), joined.out)
        << "the error line comes between the first line and the rest";

    tool.SetFaults("big-listing 500\r\n");
    auto rows = ListingRows(tool.Run(kListCommand).out);
    ASSERT_EQ(502u, rows.size());
    EXPECT_EQ("a", rows[0][1]);
    EXPECT_EQ(Text(kNumberMark) + "502", rows.back()[0]);
    for (const auto& row : rows)
        ASSERT_EQ(7u, row.size());

    tool.SetFaults("slow 300\r\n");
    DWORD start = GetTickCount();
    EXPECT_EQ(normal, tool.Run(kListCommand).out) << "a slow answer is still whole";
    EXPECT_GE(GetTickCount() - start, 550u) << "a pause before each of the two lines";
}

TEST(EntryctlTest, HangingToolAnswersNothingUntilKilled) {
    ToolCopy tool;
    AddEntry(tool, "a", "");
    tool.SetFaults("hang\r\n");
    RunResult r = tool.Run(kListCommand, 1500);
    EXPECT_FALSE(r.ended);
    EXPECT_EQ("", r.out);

    tool.SetFaults("hang-after\r\n");
    r = tool.Run(kListCommand, 1500);
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(1u, ListingRows(r.out).size()) << "answered, then kept running";

    // A killed run leaves nothing behind that holds up the next one.
    tool.SetFaults("");
    r = tool.Run(kListCommand, 30000);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(1u, ListingRows(r.out).size());
}

TEST(EntryctlTest, OnlyLimitsOutputFaultsToTheNamedCommands) {
    ToolCopy tool;
    AddEntry(tool, "a", "");
    tool.SetFaults("hang\r\nonly targets\r\n");
    RunResult list = tool.Run(kListCommand, 30000);
    EXPECT_TRUE(list.ended);
    RunResult targets = tool.Run(kPathMark + tool.Exe() + kListTail, 1500);
    EXPECT_FALSE(targets.ended);
}

TEST(EntryctlTest, JournalHoldsEachLineAsReceived) {
    ToolCopy tool;
    AddEntry(tool, kDoubleByteName, "");
    const Text lines[] = {
        Text(kListCommand),
        kEntryPrefixName + kDoubleByteName + kCommand02TextName + "a&b ^ (c) %x" + kPathMark,
        Text("entryctl.exe something unknown  "),
    };
    Text expected;
    for (const Text& line : lines) {
        tool.Run(line);
        expected += line + "\r\n";
    }
    EXPECT_EQ(expected, tool.Journal());
}

TEST(EntryctlTest, LinesThroughTheCommandInterpreterArriveIntact) {
    ToolCopy tool;
    AddEntry(tool, "a & b (c)", "");
    const Text line = kEntryPrefixName + Text("a & b (c)") + kCommand02TextName + "x | y ^ z" + kPathMark;
    RunResult r = tool.RunThroughInterpreter(line);
    EXPECT_EQ(0u, r.exitCode) << r.out;
    EXPECT_EQ(line + "\r\n", tool.Journal());
    auto rows = ListingRows(tool.Run(kListCommand).out);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("x | y ^ z", rows[0][3]);
}

TEST(EntryctlTest, TargetListingAndItsTwoEmptyReplies) {
    ToolCopy tool;
    const Text line = kPathMark + tool.Exe() + kListTail;
    EXPECT_EQ(kNoTargetsReply1, tool.Run(line).out);
    ASSERT_TRUE(WriteWholeFile(tool.File("targets.txt"), "\r\n"));
    EXPECT_EQ(kNoTargetsReply2, tool.Run(line).out);
    ASSERT_TRUE(WriteWholeFile(tool.File("targets.txt"), ""));
    ASSERT_EQ(0u, tool.Admin("target T1 \"first one\"").exitCode);
    ASSERT_EQ(0u, tool.Admin("target \"T 2\" second").exitCode);
    EXPECT_EQ(Text(kTargetsHeading) + kLineSep + "T1" + kFieldSep + "first one" + kLineSep + "T 2" + kFieldSep +
                  "second" + kLineSep,
              tool.Run(line).out);
}

TEST(EntryctlTest, TargetCommandsJudgeTheirTarget) {
    ToolCopy tool;
    ASSERT_EQ(0u, tool.Admin("target T1 first").exitCode);
    const Text lead = kPathMark + tool.Exe() + kTargetOption;
    struct Case {
        const char* name;
        Text own;
        const char* marker;
    } cases[] = {
        {"attach", kVerb1 + Text("f") + kPathMark, kOkMarkerA},
        {"send", kVerb3 + Text("a") + kMid3 + "b", kOkMarkerB},
        {"link", kVerb4 + Text("a") + kMid4 + "b" + kPathMark, kOkMarkerB},
        {"resize", kVerb9 + Text("640") + kMid9 + "480", kOkMarkerC},
        {"ping", Text(kVerb25), kOkMarkerD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Has(tool.Run(lead + "T1" + c.own).out, c.marker));
        RunResult unknown = tool.Run(lead + "T9" + c.own, 30000, true);
        EXPECT_FALSE(Has(unknown.out, c.marker)) << "no such target";
    }
    RunResult lines = tool.Run(lead + "T1" + kVerb5);
    EXPECT_EQ(2, Occurrences(lines.out, kLineMarker)) << lines.out;
    EXPECT_TRUE(Has(tool.Run(lead + "T1" + kVerb7 + "description").out, Text(kLineMarker) + "first"));
    EXPECT_FALSE(Has(tool.Run(lead + "T1" + kVerb9 + "wide" + kMid9 + "480", 30000, true).out, kOkMarkerC));
}

TEST(EntryctlTest, LockAndErrorMarkers) {
    ToolCopy tool;
    AddEntry(tool, "e", "");
    auto locked = [&] { return tool.Run(kCommand19LeadName + Text("e") + kCommand19TextName).out; };
    EXPECT_FALSE(Has(locked(), kCommand19Marker));
    EXPECT_FALSE(Has(tool.Run(kCommand21LeadName + Text("e") + kPathMark, 30000, true).out, kErrorMarker));
    EXPECT_TRUE(Has(locked(), kCommand19Marker));
    RunResult change = tool.Run(kEntryPrefixName + Text("e") + kCommand43TextName + "x" + kPathMark, 30000, true);
    EXPECT_TRUE(Has(change.out, kErrorMarker)) << "a locked entry refuses changes";
    EXPECT_TRUE(Has(tool.Run(kCommand26LeadName + Text("missing") + kPathMark, 30000, true).out, kErrorMarker));
    EXPECT_FALSE(Has(tool.Run(kCommand22LeadNumber + Text("1"), 30000, true).out, kErrorMarker));
    EXPECT_FALSE(Has(locked(), kCommand19Marker));
}

// The tool reads its line as a program built on the C runtime does, so it receives what a real
// tool would: a backslash run before a quote is halved and may escape the quote; elsewhere
// backslashes stay. The journal keeps each line as it came.
TEST(EntryctlTest, ArgumentsArriveAsTheCRuntimeSplitsThem) {
    ToolCopy tool;
    AddEntry(tool, "e", "");
    AddEntry(tool, "ends\\", "");  // seeded raw: the name ends in one backslash
    struct Case {
        const char* name;
        Text line;
        Text label;  // of entry 1 afterwards
    } cases[] = {
        {"doubled run before the closing quote",
         kEntryPrefixName + Text("e") + kCommand02TextName + "C:\\dir\\\\" + kPathMark, "C:\\dir\\"},
        {"run inside stays", kEntryPrefixName + Text("e") + kCommand02TextName + "a\\\\b" + kPathMark, "a\\\\b"},
        {"run at the line's end stays", kCommand30LeadName + Text("e") + kCommand30TextName + "t\\", "a\\\\b t\\"},
        {"an entry name with its run doubled", kEntryPrefixNumber + Text("1") + kCommand02TextNumber + "x" + kPathMark,
         "x"},
    };
    Text journal;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunResult r = tool.Run(c.line, 30000, true);
        EXPECT_EQ(0u, r.exitCode) << r.out;
        journal += c.line + "\r\n" + kListCommand + "\r\n";
        EXPECT_EQ(c.label, ListingRows(tool.Run(kListCommand).out)[0][3]);
    }
    // The second entry is addressed by its name, whose run is doubled before the closing quote.
    RunResult named = tool.Run(kEntryPrefixName + Text("ends\\\\") + kCommand02TextName + "y" + kPathMark);
    EXPECT_EQ(0u, named.exitCode) << named.err;
    EXPECT_EQ("y", ListingRows(tool.Run(kListCommand).out)[1][3]);
    // An escaped quote is a literal quote inside the argument: no entry name or text holds one.
    RunResult escaped = tool.Run(kEntryPrefixName + Text("ends\\") + kCommand02TextName + "z" + kPathMark, 30000, true);
    EXPECT_EQ(2u, escaped.exitCode);
    EXPECT_EQ("y", ListingRows(tool.Run(kListCommand).out)[1][3]);
    EXPECT_EQ(0u, tool.Journal().find(journal));
}

TEST(EntryctlTest, UnknownLinesFail) {
    const Text lines[] = {
        "entryctl.exe",
        "entryctl.exe list extra",
        kEntryPrefixNumber + Text("12a") + kCommand02TextNumber + "x" + kPathMark,  // numeric form, not digits
        kEntryPrefixName + Text("e") + kCommand02TextNumber + "x" + kPathMark,      // forms mixed
        kEntryPrefixName + Text("e\" \"f") + kCommand02TextName + "x" + kPathMark,   // quotes split the entry
        kEntryPrefixName + Text("e\\") + kCommand02TextName + "x" + kPathMark,       // escaped quote: one argument
        kEntryPrefixName + Text("e") + kCommand02TextName + "x" + kPathMark + " extra",  // an argument too many
    };
    ToolCopy tool;
    AddEntry(tool, "e", "");
    for (const Text& line : lines) {
        SCOPED_TRACE(line);
        RunResult r = tool.Run(line, 30000, true);
        EXPECT_EQ(2u, r.exitCode);
        EXPECT_TRUE(Has(r.out, kErrorMarker));
    }
    EXPECT_EQ("", ListingRows(tool.Run(kListCommand).out)[0][3]) << "no line changed the entry";
}

// Sample arguments for a shape's slots; every line the table describes must be accepted.
Text SampleLine(const entryctl::Shape& shape, const Text& exe) {
    using entryctl::SlotKind;
    Text line;
    for (const entryctl::Piece& p : shape.pieces) {
        switch (p.kind) {
            case SlotKind::None: line += p.text; break;
            case SlotKind::Entry:
                line += shape.op == entryctl::Op::Create || shape.op == entryctl::Op::Clone
                            ? "new one"
                            : (shape.form == entryctl::Form::Number ? "1" : "e & f");
                break;
            case SlotKind::A:
                line += shape.op == entryctl::Op::Create ? kCreateModeText2 : "label";
                break;
            case SlotKind::B: line += "7"; break;
            case SlotKind::Numbers:
                for (int k = 1; k <= shape.minNumbers; ++k)
                    line += (k > 1 ? Text(kArgSep) : Text()) + std::to_string(k * 10);
                break;
            case SlotKind::Path: line += exe; break;
            case SlotKind::Target: line += "T1"; break;
            case SlotKind::Rest:
                line += shape.form == entryctl::Form::Number ? Text("1") : Text("e & f") + kPathMark;
                line += kArgSep + Text(kOptionKey3) + "Sans";
                break;
        }
    }
    return line;
}

// The command interpreter treats & | < > ^ ( ) as operators outside double quotes, so every
// argument of every line must stand inside a pair the fixed texts open and close.
TEST(EntryctlTest, EveryArgumentStandsInsideQuotes) {
    for (const entryctl::Shape& shape : entryctl::AllShapes()) {
        if (shape.op == entryctl::Op::Options)
            continue;  // its argument part is free text, checked below
        int quotes = 0;
        for (const entryctl::Piece& p : shape.pieces) {
            SCOPED_TRACE(std::string(shape.name) + (shape.form == entryctl::Form::Number ? " numeric" : " name"));
            if (p.kind == entryctl::SlotKind::None)
                quotes += static_cast<int>(std::count(p.text, p.text + std::strlen(p.text), '"'));
            else
                EXPECT_EQ(1, quotes % 2) << "slot " << static_cast<int>(p.kind) << " stands outside quotes";
        }
    }
    // The options command in the numeric form: the entry's quote is still open, every key closes
    // the one before it and opens one for its value.
    for (const char* key : kOptionKeys) {
        SCOPED_TRACE(key);
        ASSERT_EQ('"', key[0]);
        EXPECT_EQ(2, std::count(key, key + std::strlen(key), '"'));
        EXPECT_EQ('"', key[std::strlen(key) - 1]);
    }
    EXPECT_EQ(1, std::count(kSendOptionsLeadNumber, kSendOptionsLeadNumber + std::strlen(kSendOptionsLeadNumber), '"'));
}

TEST(EntryctlTest, EveryShapeOfTheVocabularyIsAccepted) {
    ToolCopy tool;
    ASSERT_EQ(0u, tool.Admin("target T1 first").exitCode);
    AddEntry(tool, "e & f", "");
    for (const entryctl::Shape& shape : entryctl::AllShapes()) {
        Text line = SampleLine(shape, tool.Exe());
        if (shape.op == entryctl::Op::Clone)
            line = kCommand25Lead + Text("e & f") + kCommand25Text + "copy" + kPathMark;
        SCOPED_TRACE(line);
        RunResult r = tool.Run(line, 30000, true);
        EXPECT_NE(2u, r.exitCode) << r.out;
        EXPECT_FALSE(Has(r.out, "unknown command")) << r.out;
        // Put back what the line took away (the shapes come in numeric, then name form).
        if (shape.op == entryctl::Op::Lock)
            tool.Run(kCommand22LeadNumber + Text("1"));
        if (shape.op == entryctl::Op::Remove || shape.op == entryctl::Op::Rename) {
            ASSERT_TRUE(WriteWholeFile(tool.File("entries.db"), "1\te & f\t5\t\t\t\t0\t\r\n"));
        }
    }
}

}  // namespace
