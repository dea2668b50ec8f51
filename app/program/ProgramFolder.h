#pragma once
// The folder of the running program (EntryKeeper.exe): its settings file and the manifest live
// there, and a fresh start offers it as the backup folder.

#include "common/portable/Text.h"

// The folder that holds the running program's file, without a closing separator; empty text
// when the system does not give the program's path. Any thread.
Text ProgramFolder();
