#pragma once
// ToolCommands: every command of the external console tool is issued through this class.
//
// Each command operation addresses one entry, builds one command line (a few build a fixed
// sequence of lines) from the tool's fixed texts and its arguments, runs it with the command
// runner in the tool's folder, and then ignores, returns or judges what the tool printed.
//
// The entry designator: `IsAllDigits(entry)` true gives the numeric form of a command, anything
// else (an empty entry included) the name form; the two forms spell the same command differently.
//
// Command-line safety: an entry or text argument holding a double quote, a percent sign, a line
// break or a NUL byte, or one that is not whole text of the code page (a lead byte without its
// second byte), is refused. The tool is then not started and the operation gives its failure
// value: false for a verdict (by marker or by the error rule, in either form), -1 from
// CreateEntry, empty text from the operations that return text (SendOptions included).
// Operations whose output is ignored return true when their line(s) ran and false when they
// were refused; true says nothing about what the tool did. An argument that stands right before
// a closing quote has its trailing backslashes doubled (toollink/portable/CommandLineQuoting.h), so the
// tool's C runtime hands it over exactly as given.
//
// Threads: the object keeps no state that changes after construction, so any thread may call
// its operations, several at once. Each command line is started in the tool's folder while the
// process-wide tool-directory lock is held (ToolCommandsRunner.h), so lines of different threads
// run one after another and a child never starts in a folder another thread chose.
//
// Failures: no operation reports a failure of its own beyond its result. A tool that cannot be
// started gives empty output: marker verdicts are then false, error-rule verdicts false in the
// name form (a tool that ran always answers something) and true in the numeric form (which never
// looks at the output), returned texts empty, CreateEntry -1, ListEntries 0. The tool's exit
// code is never looked at by these designed results.
//
// The passes use siblings of four operations that also say how the command ended (CommandEnd.h),
// under the object's CommandPolicy: ListEntriesRun and BackupEntryRun, which count as done only
// when the tool ran to its end with a success code and which are ended, with all they started,
// once hung; RestoreEntryRun and CreateEntryRun, which keep their designed verdicts, run outside
// any job and are left running once hung.

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "common/portable/CommandRunnerFn.h"
#include "common/portable/Text.h"
#include "tooldriver/CommandRunner.h"
#include "tooldriver/RowTable.h"
#include "tooldriver/portable/CommandEnd.h"
#include "tooldriver/portable/EntryCommandLines.h"
#include "tooldriver/portable/EntryList.h"
#include "tooldriver/portable/EntryListing.h"
#include "toollink/ToolLink.h"
#include "toollink/portable/CommandLineQuoting.h"

class ToolCommands {
public:
    // Construction runs on the window thread at start-up: the ToolLink member is built first
    // (it locates the tool and may run the tool's target listing once), then the tool is
    // located once more and the answer ignored. `capture` runs every command line of this object
    // and of its ToolLink member (the real runner, CaptureConsoleCommand, by default).
    ToolCommands();
    explicit ToolCommands(CommandCaptureFn capture);
    // The same with a runner that gives only the output (tests that record the lines built): each
    // command it runs counts as having run to its end with code 0.
    explicit ToolCommands(CommandRunnerFn runner);

    // Releases the ToolLink member with the object.
    ~ToolCommands();

    // A new object whose member is a new ToolLink with the same contents, and the same runner.
    // Runs no command and does not locate the tool again.
    ToolCommands(const ToolCommands& other);
    ToolCommands& operator=(const ToolCommands&) = delete;

    // Operations in the class's slot order (slots 0 and 1 are release and copy above).
    // Below, P is the entry prefix of the chosen form and M the closing path mark.

    // 2 (the stand-in tool's set-label): P·entry·t·a·M.
    bool Command02(const Text& entry, const Text& a) const;

    // 3: sends option settings. With `raw` given the argument part is `raw`; otherwise it is the
    // argument separator followed by key k and value k for every given option k, in key order.
    // Numeric form L·entry·A, name form L'·entry·M·A. Returns the argument part A as sent (an
    // option value followed by another key with its trailing backslashes doubled); empty text
    // when an argument was refused. In the name form A stands outside quotes on the line, so
    // there `raw` and the option values are also refused when they hold one of the command
    // interpreter's operators & | < > ^ ( ), and an option value also when it is empty or holds
    // a space or a tab (it would not reach the tool as one argument of its own).
    Text SendOptions(const Text& entry,
                     const std::optional<Text>& raw = std::nullopt,
                     const OptionValues& options = {}) const;

    // Slots 4, 5 and 11 to 13 (the row table) are defined in ToolCommandsRows.cpp.
    // 4: captures the rows of `target`'s records (CaptureRows) and looks for the first row whose
    // second cell holds `needle`, ignoring letter case (an empty needle matches any non-empty
    // cell). With `mode` 1 it points at the row's midpoint (Midpoint of the corners, RowTable.h)
    // through PointAt; with any other mode it only reports that the row is there. False when no
    // row matches (nothing is pointed at).
    bool PointAtRowByText(const Text& target, const Text& needle, int32_t mode = 1) const;
    // 5: as PointAtRowByText on the fourth cell with letter case respected, always pointing.
    bool PointAtRowByColumn4(const Text& target, const Text& needle) const;

    // 6: P·entry·t·n(x)·S·n(y)·M.
    bool PointAt(const Text& entry, int32_t x, int32_t y) const;

    // 7 (the stand-in tool's note): P·entry·t·a·u.
    bool Command07(const Text& entry, const Text& a) const;

    // 8 (the stand-in tool's frame): P·entry·t·n(a1)·S·n(a2)·S·n(a3)·S·n(a4)[·S·n(a5)]·M; the fifth
    // number only when given.
    bool Command08(const Text& entry,
                   int32_t a1,
                   int32_t a2,
                   int32_t a3,
                   int32_t a4,
                   std::optional<int32_t> a5 = std::nullopt) const;

    // 9, 10 (the stand-in tool's signal --code 164 / 4): P·entry·t·n(164) and the same with 4.
    bool Command09(const Text& entry) const;
    bool Command10(const Text& entry) const;

    // 11: empties `records`, then asks the tool whether `entry` has records (P·entry·t); when the
    // answer holds the records marker, fetches them with QueryText, converts them from UTF-8 to
    // code page 936 and imports them into `records`. The number of rows; 0 (and `records` empty)
    // when the answer lacks the marker, the entry was refused or the rows cannot be read. Runs
    // the pattern matcher on the calling thread (it initialises COM there for the call).
    int32_t CaptureRows(const Text& entry, RowArray& records) const;
    // 12: ImportRows of RowTable.h.
    int32_t ImportRows(const Text& source, RowArray& rows) const;
    // 13: IsTrueText of RowTable.h.
    bool IsTrueText(const Text& cell) const;

    // 14: P·entry·t·a·M; returns the whole output (empty when refused or not started).
    Text QueryText(const Text& entry, const Text& a) const;

    // 15 (the stand-in tool's signal --code 3): as Command09 with the number 3.
    bool Command15(const Text& entry) const;

    // 16 (the stand-in tool's relabel): P·entry·t·a·u·b·M.
    bool Command16(const Text& entry, const Text& a, const Text& b) const;

    // 17 (the stand-in tool's stage, then apply): two lines, P·entry·t1·a·u·b·M then
    // P·entry·t2·a·u·b·M; both always run.
    bool Command17(const Text& entry, const Text& a, const Text& b) const;

    // 18 (the stand-in tool's clear --label / --state / --position / --content, touch, flush): six
    // lines P·entry·t_k, k = 1 to 6; all always run.
    bool Command18(const Text& entry) const;

    // 19 (the stand-in tool's query --is-locked): L·entry·t; true when the output holds the operation's own marker.
    bool Command19(const Text& entry) const;

    // 20 (the stand-in tool's progress): P·entry·t·a·Mid·b·M.
    bool Command20(const Text& entry, const Text& a, const Text& b) const;

    // 21, 22 (the stand-in tool's lock / unlock): numeric form L·entry, name form L·entry·M; judged
    // by the error rule: true in the numeric form without looking at the output; in the name form
    // false when the output holds the error marker or is empty (the tool did not start).
    bool Command21(const Text& entry) const;
    bool Command22(const Text& entry) const;

    // 23 (the stand-in tool's refresh): one fixed line, no entry.
    bool Command23() const;

    // 24: creates an entry: L·entry·t·(mode text), one form only. Mode 1 and 3 choose the first
    // and third mode texts, any other value the second. Returns the number the tool printed with
    // its create marker (0 when that answer holds no digits), or -1 when the answer lacks the
    // marker, the tool could not be started, or the entry was refused.
    int32_t CreateEntry(const Text& entry, int32_t mode) const;

    // 25 (the stand-in tool's clone): L·a·t·entry·M, one form only; true when the output holds the
    // operation's own marker.
    bool Command25(const Text& entry, const Text& a) const;

    // 26 (the stand-in tool's remove): as Command21, own texts.
    bool Command26(const Text& entry) const;

    // 27 (the stand-in tool's export): L·entry·t·a·M.
    bool Command27(const Text& entry, const Text& a) const;

    // 28, 29, 30 (the stand-in tool's import / merge / tag): L·entry·t·a.
    bool Command28(const Text& entry, const Text& a) const;
    bool Command29(const Text& entry, const Text& a) const;
    bool Command30(const Text& entry, const Text& a) const;

    // 31 (the stand-in tool's set): L·entry·t·a·u·b.
    bool Command31(const Text& entry, const Text& a, const Text& b) const;

    // 32 (the stand-in tool's query --field): L·entry·t·a; returns the whole output.
    Text Command32(const Text& entry, const Text& a) const;

    // 33 (the stand-in tool's verify): as Command21, own texts.
    bool Command33(const Text& entry) const;

    // 34 (the stand-in tool's rename): L·entry·t·a·M; judged by the error rule.
    bool Command34(const Text& entry, const Text& a) const;

    // 35 (the stand-in tool's compare): L·entry·t·a·u·b; the output is dropped.
    bool Command35(const Text& entry, const Text& a, const Text& b) const;

    // 36: has the tool write the entry into the backup file `file` (full path):
    // L·entry·t·file·M. The output is not looked at: true only says the line ran.
    bool BackupEntry(const Text& entry, const Text& file) const;

    // 37: has the tool restore the entry from the backup file `file`: L·entry·t·file·M.
    // True when the tool printed its restore marker.
    bool RestoreEntry(const Text& entry, const Text& file) const;

    // 38, 39 (the stand-in tool's open / close): P·entry·t.
    bool Command38(const Text& entry) const;
    bool Command39(const Text& entry) const;

    // 40, 41 (the stand-in tool's set-state / set-position): P·entry·t·a·M.
    bool Command40(const Text& entry, const Text& a) const;
    bool Command41(const Text& entry, const Text& a) const;

    // 42 (the stand-in tool's append, twice): two lines, P·entry·t·a·M then P·entry·t·b·M; both always run.
    bool Command42(const Text& entry, const Text& a, const Text& b) const;

    // 43 (the stand-in tool's write): P·entry·t·a·M.
    bool Command43(const Text& entry, const Text& a) const;

    // 44: runs the tool's entry listing and refills `list` from it (see EntryListing.h for the
    // lines that become records). Returns the number of records; 0 when the tool could not be
    // started or printed nothing usable.
    int32_t ListEntries(EntryList& list) const;
    // The same listing, answering whether it was one: entries, an empty listing, or a failure
    // (the tool printed no entry line or reported an error; see EntryListing.h). A tool that
    // cannot be started prints nothing and so reads as empty; a pass that must tell the two
    // apart looks for the tool's program itself.
    // The listing of a pass: as ListEntries, and whether it was one (entries, an empty listing, or
    // a failure: the tool printed no entry line or reported an error, see EntryListing.h, or the
    // command did not count as done), with how the command ended. After a failure `list` holds
    // whatever entry lines the output had, which are not the tool's entries.
    struct ListingRun {
        ListingOutcome outcome = ListingOutcome::Failed;
        CommandEnd end;
    };
    ListingRun ListEntriesRun(EntryList& list) const;

    // BackupEntry of a pass: the same line, watched for `file`'s growth. How it ended (Refused,
    // with nothing run, for an argument that is not safe on a command line).
    CommandEnd BackupEntryRun(const Text& entry, const Text& file) const;

    // RestoreEntry and CreateEntry of a pass: the same lines and verdicts, with how they ended.
    struct RestoreRun {
        bool restored = false;
        CommandEnd end;
    };
    RestoreRun RestoreEntryRun(const Text& entry, const Text& file) const;
    struct CreateRun {
        int32_t number = -1;
        CommandEnd end;
    };
    CreateRun CreateEntryRun(const Text& entry, int32_t mode) const;

    // The success codes and hang limit the siblings above apply; the defaults until set. Any thread.
    void SetPolicy(const CommandPolicy& policy);
    CommandPolicy Policy() const;

    // Locates the tool once more (ToolLink::Locate without a path), for a tool installed or
    // registered after start-up; ToolDir and ToolPath change as Locate changes them. Commands of
    // other threads wait meanwhile, so none starts in a folder this is changing. True when the
    // tool's program was found; false too when the thread was stopped before it could begin.
    bool LocateAgain();

    // The member ToolLink: tool location and the target-directed commands.
    ToolLink& Link() { return link_; }
    const ToolLink& Link() const { return link_; }

private:
    // Builds the lines (BuildCommandLine under the active code page) and runs them in order;
    // nullopt, with nothing run, when an argument of any line is not safe on a command line.
    std::optional<Text> Issue(const CommandLines& lines) const;
    // Runs each line in order, every one whatever an earlier one printed; the last one's output.
    Text RunLines(const TextArray& lines) const;
    // Judged by a marker: true when the command ran and its output holds `marker`.
    bool HasMarker(const std::optional<Text>& output, const Text& marker) const;
    // Judged by the error rule: true in the numeric form without looking at the output; in the
    // name form false when the output is empty or holds the error marker. False when the command
    // was refused.
    bool ByErrorRule(const Text& entry, const std::optional<Text>& output) const;
    // The number in a create's answer, or -1 when the answer lacks the create marker.
    int32_t CreateNumber(const Text& output) const;
    // Runs the one line of `lines` watched as `keeping` under the policy's hang limit; nullopt,
    // with nothing run, when an argument is not safe on a command line.
    std::optional<Capture> IssueWatched(const CommandLines& lines, CommandWatch::Keeping keeping,
                                        const Text& growingFile = Text()) const;

    CommandCaptureFn capture_;  // the given runner, run in the tool's folder (ToolCommandsRunner.h)
    CommandRunnerFn runner_;    // capture_'s output alone, for the designed operations
    ToolLink link_;             // built after runner_, which it shares
    mutable std::mutex policyLock_;
    CommandPolicy policy_;
};
