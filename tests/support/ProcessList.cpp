#include "tests/support/ProcessList.h"

#include <algorithm>

#include "common/WinHandles.h"
#include "common/portable/TextOps.h"

std::vector<PROCESSENTRY32> RunningProcesses() {
    std::vector<PROCESSENTRY32> processes;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE)
        return processes;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        processes.push_back(entry);
    return processes;
}

std::vector<DWORD> ProcessesRunning(const Text& imagePath) {
    std::vector<DWORD> found;
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        char image[MAX_PATH * 2] = {};
        DWORD size = sizeof image;
        if (process && QueryFullProcessImageNameA(process.get(), 0, image, &size) &&
            EqualsIgnoreCase(Text(image, size), imagePath))
            found.push_back(entry.th32ProcessID);
    }
    return found;
}

namespace {

std::vector<DWORD> ProcessesStartedBy(DWORD parentId) {
    const std::vector<PROCESSENTRY32> processes = RunningProcesses();
    std::vector<DWORD> found{parentId};
    // Children of the processes found so far, until no new one turns up.
    for (size_t next = 0; next < found.size(); ++next) {
        for (const PROCESSENTRY32& entry : processes) {
            if (entry.th32ParentProcessID == found[next] && entry.th32ProcessID != parentId &&
                std::find(found.begin(), found.end(), entry.th32ProcessID) == found.end())
                found.push_back(entry.th32ProcessID);
        }
    }
    found.erase(found.begin());
    return found;
}

}  // namespace

void EndProcesses(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process)
            TerminateProcess(process.get(), 1);
    }
}

void EndProcessesStartedBy(DWORD parentId, DWORD graceMs) {
    const DWORD start = GetTickCount();
    while (!ProcessesStartedBy(parentId).empty() && GetTickCount() - start < graceMs)
        Sleep(50);
    EndProcesses(ProcessesStartedBy(parentId));
}
