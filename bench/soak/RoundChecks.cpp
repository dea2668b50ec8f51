#include "bench/soak/RoundChecks.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <tuple>

#include "app/program/Settings.h"
#include "bench/soak/SoakEntries.h"
#include "common/WinHandles.h"
#include "common/portable/TextOps.h"
#include "tests/support/StandInBackupFile.h"
#include "tests/support/TestPaths.h"
#include "toollink/portable/vocabulary/EntryListingTexts.h"
#include "workers/portable/ManifestText.h"
#include "workers/portable/PassTexts.h"

namespace {

bool IsOneOf(const ToolEntry& entry, const std::vector<ToolEntry>& versions) {
    return std::find(versions.begin(), versions.end(), entry) != versions.end();
}

// An entry as the tool's create command leaves it: a creation mode as its kind, nothing else.
bool IsJustCreated(const ToolEntry& entry) {
    const bool modeKind =
        entry.kind == kCreateModeText1 || entry.kind == kCreateModeText2 || entry.kind == kCreateModeText3;
    return modeKind && entry.label.empty() && entry.state.empty() && entry.position.empty() && entry.content.empty();
}

// What `entry` holds, set against the versions it should hold, for a finding.
Text WhatItHolds(const ToolEntry& entry, const std::vector<ToolEntry>& versions) {
    Text held = DescribeContent(entry.content);
    if (IsDamaged(entry))
        held += " (the damage written before the restore, never restored)";
    else if (IsJustCreated(entry))
        held += " (created by the restore and never filled)";
    Text expected;
    for (const ToolEntry& version : versions)
        expected += (expected.empty() ? "" : " or ") + DescribeContent(version.content);
    return "holds " + held + " instead of its good backup: " + expected;
}

Text Quoted(const Text& name) {
    return "\"" + name + "\"";
}

// The volume and file number of an existing file: two paths lead to one file when these agree.
std::optional<std::tuple<DWORD, DWORD, DWORD>> FileIdentity(const Text& path) {
    UniqueFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
}

bool EndsWithIgnoreCase(const Text& text, const Text& tail) {
    return text.size() >= tail.size() && EqualsIgnoreCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

std::vector<Text> CheckToolStore(const Text& storePath, const ToolEntries& before, const GoodVersions& restorable) {
    ToolEntries now;
    Text problem;
    if (!ReadToolStore(storePath, &now, &problem))
        return {"the tool's store is not whole: " + problem};
    std::vector<Text> findings;
    for (const auto& [name, entry] : before) {
        if (!now.count(name))
            findings.push_back("the tool lost the entry " + Quoted(name));
    }
    for (const auto& [name, entry] : now) {
        const auto was = before.find(name);
        const auto good = restorable.find(name);
        if ((was != before.end() && was->second == entry) || (good != restorable.end() && IsOneOf(entry, good->second)))
            continue;
        if (was == before.end() && good != restorable.end() && IsJustCreated(entry))
            continue;
        if (was == before.end() && good == restorable.end()) {
            findings.push_back("the tool has an entry " + Quoted(name) + " that no one made");
            continue;
        }
        findings.push_back("the tool's entry " + Quoted(name) + " is neither as it was nor as its backup: " +
                           DescribeContent(entry.content) + ", label \"" + entry.label + "\"");
    }
    return findings;
}

std::vector<Text> CheckListOfBackups(const Text& listPath, const GoodVersions& good) {
    if (good.empty())
        return {};
    if (!FileExists(listPath))
        return {"the list of backups " + listPath + " is gone"};
    const std::vector<ManifestEntry> lines = ReadManifestLines(ReadWholeFile(listPath));
    std::vector<Text> findings;
    for (const auto& [name, versions] : good) {
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const ManifestEntry& l) { return l.usable && l.name == name; });
        if (line == lines.end()) {
            findings.push_back("the list of backups (" + IntToText(lines.size()) + " lines) lost the entry " +
                               Quoted(name));
            continue;
        }
        Text storedName, content;
        if (!FileExists(line->file)) {
            findings.push_back("the list leads " + Quoted(name) + " to " + line->file + ", which is gone");
        } else if (!ReadStandInBackup(line->file, &storedName, &content)) {
            findings.push_back("the list leads " + Quoted(name) + " to " + line->file + ", which is no whole backup (" +
                               IntToText(ReadWholeFile(line->file).size()) + " bytes; torn or cut short)");
        } else if (storedName != name) {
            findings.push_back("the list leads " + Quoted(name) + " to " + line->file + ", the backup of " +
                               Quoted(storedName));
        } else if (std::none_of(versions.begin(), versions.end(),
                                [&](const ToolEntry& v) { return v.content == content; })) {
            findings.push_back("the list leads " + Quoted(name) + " to " + line->file + ", a whole backup of " +
                               DescribeContent(content) + " that is none of its good backups");
        }
    }
    for (size_t a = 0; a < lines.size(); ++a) {
        const auto identity = lines[a].usable ? FileIdentity(lines[a].file) : std::nullopt;
        for (size_t b = a + 1; identity && b < lines.size(); ++b) {
            if (lines[b].usable && FileIdentity(lines[b].file) == identity)
                findings.push_back("two lines of the list lead to one file: " + Quoted(lines[a].name) + " -> " +
                                   lines[a].file + " and " + Quoted(lines[b].name) + " -> " + lines[b].file);
        }
    }
    return findings;
}

std::vector<Text> CheckRestored(const Text& storePath, const GoodVersions& good) {
    ToolEntries now;
    Text problem;
    if (!ReadToolStore(storePath, &now, &problem))
        return {"after the restore the tool's store is not whole: " + problem};
    std::vector<Text> findings;
    for (const auto& [name, versions] : good) {
        const auto it = now.find(name);
        if (it == now.end())
            findings.push_back("the restore did not bring back the entry " + Quoted(name));
        else if (!IsOneOf(it->second, versions))
            findings.push_back("after the restore " + Quoted(name) + " " + WhatItHolds(it->second, versions));
    }
    return findings;
}

std::vector<Text> CheckNoTemporaryFiles(const Text& programFolder, const Text& backupFolder, std::vector<Text>* notes) {
    const Text ownFiles[] = {"EntryKeeper.exe", Text(kSettingsFileName).substr(1), Text(kManifestFileName).substr(1)};
    std::vector<Text> findings;
    for (const Text& file : FilesIn(programFolder)) {
        if (std::none_of(std::begin(ownFiles), std::end(ownFiles),
                         [&](const Text& own) { return EqualsIgnoreCase(own, file); }))
            findings.push_back("a clean backup left " + file + " in the program folder");
    }
    for (const Text& file : FilesIn(backupFolder)) {
        if (EndsWithIgnoreCase(file, kBackupFileExt))
            continue;
        const int staging = FindText(file, kStagingFileExt, true);
        if (staging > 0 && static_cast<size_t>(staging - 1) + Text(kStagingFileExt).size() < file.size())
            notes->push_back("the tool's own temporary file " + file +
                             " stayed beside a staging file in the backup folder");
        else
            findings.push_back("a clean backup left " + file + " in the backup folder");
    }
    return findings;
}
