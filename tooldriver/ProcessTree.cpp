#include "tooldriver/ProcessTree.h"

#include <tlhelp32.h>

#include <map>
#include <vector>

#include "common/WinHandles.h"
#include "common/portable/TextOps.h"

namespace {

// How long the processes ended get to be gone (their files closed) before the caller goes on.
constexpr DWORD kGoneWaitMs = 5000;

struct Snapshot {
    std::map<DWORD, Text> names;                     // process id -> program name
    std::multimap<DWORD, DWORD> childrenOf;          // parent id -> child id
};

Snapshot TakeSnapshot() {
    Snapshot snapshot;
    UniqueFileHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes)
        return snapshot;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(processes.get(), &entry); more; more = Process32Next(processes.get(), &entry)) {
        snapshot.names[entry.th32ProcessID] = entry.szExeFile;
        snapshot.childrenOf.emplace(entry.th32ParentProcessID, entry.th32ProcessID);
    }
    return snapshot;
}

Text Named(const Snapshot& snapshot, DWORD id) {
    auto found = snapshot.names.find(id);
    return (found != snapshot.names.end() ? found->second : Text("process")) + " (" + IntToText(id) + ")";
}

ULONGLONG StartTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Ends each of `processes` (held open), waits for them, and names those that were running.
TextArray EndAll(std::vector<std::pair<DWORD, UniqueHandle>>& processes, const Snapshot& snapshot) {
    TextArray ended;
    std::vector<HANDLE> waits;
    for (auto& [id, process] : processes) {
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
            continue;
        if (TerminateProcess(process.get(), 1)) {
            ended.push_back(Named(snapshot, id));
            waits.push_back(process.get());
        }
    }
    for (HANDLE process : waits)
        WaitForSingleObject(process, kGoneWaitMs);
    return ended;
}

}  // namespace

TextArray EndJobProcesses(HANDLE job) {
    std::vector<char> buffer(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + 64 * sizeof(ULONG_PTR));
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    while (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, static_cast<DWORD>(buffer.size()),
                                      nullptr) &&
           GetLastError() == ERROR_MORE_DATA && buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 4);
        list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    }
    const Snapshot snapshot = TakeSnapshot();
    // Held open before the job is ended, so that the waits below are for these very processes.
    std::vector<std::pair<DWORD, UniqueHandle>> members;
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList && i < list->NumberOfAssignedProcesses; ++i) {
        const DWORD id = static_cast<DWORD>(list->ProcessIdList[i]);
        members.emplace_back(id, UniqueHandle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id)));
    }
    TextArray ended;
    for (auto& [id, process] : members) {
        if (process && WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0)
            ended.push_back(Named(snapshot, id));
    }
    TerminateJobObject(job, 1);
    for (auto& [id, process] : members) {
        if (process)
            WaitForSingleObject(process.get(), kGoneWaitMs);
    }
    return ended;
}

TextArray EndProcessTree(HANDLE root, DWORD rootId) {
    std::map<DWORD, ULONGLONG> tree = {{rootId, StartTime(root)}};  // every process met, with its start
    std::vector<std::pair<DWORD, UniqueHandle>> toEnd;
    UniqueHandle rootCopy;
    DuplicateHandle(GetCurrentProcess(), root, GetCurrentProcess(), rootCopy.put(), 0, FALSE, DUPLICATE_SAME_ACCESS);
    toEnd.emplace_back(rootId, std::move(rootCopy));
    TextArray ended;
    // A process may start another while the tree is being ended: a few rounds catch those.
    for (int round = 0; round < 4; ++round) {
        const Snapshot snapshot = TakeSnapshot();
        // Every process of the tree is found (and held open) before any is ended.
        std::vector<DWORD> frontier;
        for (const auto& member : tree)
            frontier.push_back(member.first);
        for (size_t at = 0; at < frontier.size(); ++at) {
            const DWORD parent = frontier[at];
            auto [first, last] = snapshot.childrenOf.equal_range(parent);
            for (auto it = first; it != last; ++it) {
                const DWORD child = it->second;
                if (tree.count(child))
                    continue;
                UniqueHandle process(
                    OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, child));
                // A process that started before its "parent" holds a reused id: not one of ours.
                const ULONGLONG started = process ? StartTime(process.get()) : 0;
                if (!process || started < tree[parent])
                    continue;
                tree[child] = started;
                frontier.push_back(child);
                toEnd.emplace_back(child, std::move(process));
            }
        }
        if (toEnd.empty())
            break;
        for (Text& name : EndAll(toEnd, snapshot))
            ended.push_back(std::move(name));
        toEnd.clear();
    }
    return ended;
}
