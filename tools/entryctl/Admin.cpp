#include "tools/entryctl/Admin.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tools/entryctl/EntryStore.h"
#include "tools/entryctl/ToolFolder.h"

namespace entryctl {
namespace {

void Print(const Text& text) {
    DWORD wrote = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
}

int Fail(const char* why) {
    Text text = Text("entryctl: error: ") + why + "\r\n";
    DWORD wrote = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    return 1;
}

}  // namespace

bool ParseAdminLine(const Text& line, std::vector<Text>* words) {
    words->clear();
    size_t pos = 0;
    bool first = true;
    while (pos < line.size()) {
        if (line[pos] == ' ' || line[pos] == '\t') {
            ++pos;
            continue;
        }
        Text word;
        if (line[pos] == '"') {
            size_t end = line.find('"', pos + 1);
            word = line.substr(pos + 1, end == Text::npos ? Text::npos : end - pos - 1);
            pos = end == Text::npos ? line.size() : end + 1;
        } else {
            size_t end = line.find_first_of(" \t", pos);
            word = line.substr(pos, end == Text::npos ? Text::npos : end - pos);
            pos = end == Text::npos ? line.size() : end;
        }
        if (first)
            first = false;  // the program itself
        else
            words->push_back(word);
    }
    return !words->empty() && (*words)[0] == "admin";
}

int RunAdmin(const std::vector<Text>& words) {
    FolderLock lock;
    const Text verb = words.size() > 1 ? words[1] : Text();
    if (verb == "add" && (words.size() == 3 || words.size() == 4)) {
        EntryStore store;
        store.Load();
        if (words[2].empty() || store.FindByName(words[2]))
            return Fail("the name is empty or taken");
        StoredEntry& e = store.Add(words[2]);
        e.kind = "5";
        if (words.size() == 4)
            e.content = words[3];
        int number = e.number;
        if (!store.Save())
            return Fail("the entries could not be saved");
        Print(std::to_string(number) + "\r\n");
        return 0;
    }
    if (verb == "generate" && words.size() == 3) {
        EntryStore store;
        store.Load();
        int count = std::atoi(words[2].c_str());
        for (int i = 1; i <= count; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "entry-%05d", i);
            if (store.FindByName(name))
                continue;
            StoredEntry& e = store.Add(name);
            e.kind = "5";
            e.content = Text("content of ") + name + "\r\n";
        }
        if (!store.Save())
            return Fail("the entries could not be saved");
        Print(std::to_string(store.Entries().size()) + "\r\n");
        return 0;
    }
    if (verb == "target" && words.size() == 4)
        return AppendBytes(InToolFolder(kTargetsFile), words[2] + "\t" + words[3] + "\r\n") ? 0 : Fail("cannot write");
    if (verb == "fault" && words.size() == 3)
        return AppendBytes(InToolFolder(kFaultsFile), words[2] + "\r\n") ? 0 : Fail("cannot write");
    if (verb == "records" && words.size() == 4) {
        EntryStore store;
        store.Load();
        StoredEntry* e = store.FindByName(words[2]);
        Text rows;
        if (!e)
            return Fail("no such entry");
        if (!ReadBytes(words[3], &rows))
            return Fail("the rows file cannot be read");
        return ReplaceFileBytes(RecordsFile(e->number), rows) ? 0 : Fail("cannot write");
    }
    if (verb == "clear" && words.size() == 2) {
        for (const char* file : {kEntriesFile, kTargetsFile, kJournalFile, kFaultsFile})
            DeleteFileA(InToolFolder(file).c_str());
        RemoveAllRecordsFiles();
        return 0;
    }
    return Fail("unknown admin command");
}

}  // namespace entryctl
