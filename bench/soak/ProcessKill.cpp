#include "bench/soak/ProcessKill.h"

#include "tests/support/ProcessList.h"

namespace {

// How long an ended process may take to be gone.
constexpr DWORD kGoneTimeoutMs = 10000;

}  // namespace

UniqueHandle OpenToKill(DWORD id) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
        process.reset();
    return process;
}

bool KillProcess(HANDLE process, unsigned long exitCode) {
    if (!process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
        return false;
    if (!TerminateProcess(process, exitCode))
        return false;
    return WaitForSingleObject(process, kGoneTimeoutMs) == WAIT_OBJECT_0;
}

bool KillProcessTree(HANDLE process, DWORD id, unsigned long exitCode) {
    const bool killed = KillProcess(process, exitCode);
    EndProcessesStartedBy(id, 0);
    return killed;
}

void SettleOrphans(DWORD id, DWORD graceMs) {
    EndProcessesStartedBy(id, graceMs);
}
