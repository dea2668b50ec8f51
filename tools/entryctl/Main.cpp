// entryctl: a console tool that keeps numbered, named entries in files beside its program and
// answers in the vocabulary of toollink/vocabulary. Every command line it receives is appended,
// byte for byte, to the journal in its folder before it is carried out. It reads its command
// line as a program built on the C runtime does: split into arguments by the C runtime's rules
// (Arguments.h), and matches those against the vocabulary's line shapes. Admin commands (the
// test-seeding channel) read the raw line instead, so seeding needs no escaping.

#include <windows.h>

#include "tools/entryctl/Admin.h"
#include "tools/entryctl/Arguments.h"
#include "tools/entryctl/Commands.h"
#include "tools/entryctl/ToolFolder.h"

namespace {

using namespace entryctl;

void Write(DWORD which, const Text& bytes) {
    HANDLE h = GetStdHandle(which);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(h, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) || !wrote)
            return;
        done += wrote;
    }
}

// Writes the first half of `bytes` into `path` in place and never returns, the file still open:
// a tool caught in the middle of writing a backup. With `dies` it ends at once instead, as a tool
// does that crashes there.
[[noreturn]] void WriteTornAndStop(const Text& path, const Text& bytes, bool dies) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD wrote = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &wrote, nullptr);
        FlushFileBuffers(file);
    }
    if (dies)
        ExitProcess(kDiedExitCode);
    for (;;)
        Sleep(INFINITE);
}

// Prints the reply, applying the output switches of `faults`.
void Emit(const Reply& reply, const Faults& faults, bool faultsApply) {
    if (!faultsApply) {
        Write(STD_OUTPUT_HANDLE, reply.out);
        Write(STD_ERROR_HANDLE, reply.err);
        return;
    }
    if (faults.hang)
        Sleep(INFINITE);
    Text out = reply.out;
    if (faults.zeroByte) {
        size_t eol = out.find('\n');
        out.insert(eol == Text::npos ? 0 : eol + 1, 1, '\0');
    }
    // Split after the first line so that the warning of "stderr" lands between two parts.
    size_t firstEnd = out.find('\n');
    firstEnd = firstEnd == Text::npos ? out.size() : firstEnd + 1;
    auto writeLines = [&](const Text& part) {
        if (faults.slowMs <= 0) {
            Write(STD_OUTPUT_HANDLE, part);
            return;
        }
        size_t pos = 0;
        while (pos < part.size()) {
            size_t end = part.find('\n', pos);
            end = end == Text::npos ? part.size() : end + 1;
            Sleep(faults.slowMs);
            Write(STD_OUTPUT_HANDLE, part.substr(pos, end - pos));
            pos = end;
        }
    };
    if (faults.slowMs > 0 && out.empty())
        Sleep(faults.slowMs);
    writeLines(out.substr(0, firstEnd));
    if (faults.toStderr)
        Write(STD_ERROR_HANDLE, "entryctl: warning: written to standard error\r\n");
    writeLines(out.substr(firstEnd));
    Write(STD_ERROR_HANDLE, reply.err);
    if (faults.hangAfter)
        Sleep(INFINITE);
}

}  // namespace

int main() {
    const Text line = GetCommandLineA();
    std::vector<Text> words;
    if (ParseAdminLine(line, &words))
        return RunAdmin(words);

    FolderLock lock;
    AppendBytes(InToolFolder(kJournalFile), line + "\r\n");
    const Faults faults = LoadFaults();
    const MatchedLine matched = MatchCommandLine(ReceivedArguments());
    const Reply reply = matched.shape ? RunCommand(matched, faults) : UnknownCommand();
    lock.Release();
    if (!reply.tornPath.empty())
        WriteTornAndStop(reply.tornPath, reply.tornBytes, reply.dies);

    const bool faultsApply = faults.AppliesTo(matched.shape ? matched.shape->name : "unknown");
    Emit(reply, faults, faultsApply);
    if (reply.dies)
        ExitProcess(kDiedExitCode);
    // exit-code: an answer that succeeded, ending with another code.
    if (faultsApply && faults.exitCodeGiven && reply.exitCode == 0)
        return static_cast<int>(faults.exitCode);
    return reply.exitCode;
}
