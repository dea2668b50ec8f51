#pragma once
// Resource ids of EntryKeeper.exe.
#define IDI_ENTRYKEEPER 1
