#pragma once
// Where the test programs find what the build made, and scratch folders that clean up after
// themselves.

#include <vector>

#include "common/portable/Text.h"

// Folder of the running test program (the build's bin folder), without a closing separator.
Text BuiltProgramFolder();

// Full path of a program the build put beside the test program, e.g. "entryctl.exe".
Text BuiltProgramPath(const Text& exeName);

// The value of this process's environment variable `name` (a folder such as "ProgramFiles(x86)");
// empty text when it is not defined or longer than a path.
Text EnvironmentFolder(const char* name);

// `path` (on drive C:) reached by another drive letter: under Wine, Z: is the Unix root, and C: is
// a folder of the Wine prefix below it, so the same file or folder has a second route there. Empty
// text where there is none (no WINEPREFIX in the environment, or a path not on C:).
Text SecondDriveRoute(const Text& path);

// A new empty folder under the system's temporary folder, removed with everything in it when
// the object dies.
class ScratchFolder {
public:
    ScratchFolder();
    // The same, under `parent` (an existing folder, without a closing separator) instead; named
    // `folderName` when one is given (Path() stays empty when that folder exists already).
    explicit ScratchFolder(const Text& parent, const Text& folderName = Text());
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path, without a closing separator.
    const Text& Path() const { return path_; }
    // Path() + "\\" + name.
    Text File(const Text& name) const;

private:
    Text path_;
};

// Reads or writes a whole file as bytes. ReadWholeFile gives empty text for a missing file.
Text ReadWholeFile(const Text& path);
bool WriteWholeFile(const Text& path, const Text& bytes);
bool FileExists(const Text& path);

// The names of the files (not folders) directly inside `folder`, in the order the system gives them.
std::vector<Text> FilesIn(const Text& folder);
// The names of everything directly inside `folder`, files and folders, in the order the system gives
// them ("." and ".." left out).
std::vector<Text> NamesIn(const Text& folder);

// This process's current directory, without a closing separator unless it is a drive's root;
// empty text when it cannot be read.
Text CurrentDirectory();
