#pragma once
// Every command line entryctl understands, as a sequence of fixed texts and argument slots,
// spelled with the names of the tool's vocabulary. The tool matches each line it receives
// against this table; tests walk it to check that every argument lands inside quotes.

#include <vector>

#include "toollink/portable/vocabulary/ToolVocabulary.h"

namespace entryctl {

enum class SlotKind {
    None,     // a fixed text
    Entry,    // the entry designator
    A,        // first text argument
    B,        // second text argument
    Numbers,  // decimal numbers separated by kArgSep
    Path,     // the tool's own path (target commands); may hold anything
    Target,   // the target id
    Rest,     // everything to the line's end, quotes included (the options command)
};

struct Piece {
    const char* text;  // the fixed text when kind is None
    SlotKind kind;
};

inline constexpr Piece Lit(const char* text) { return {text, SlotKind::None}; }
inline constexpr Piece SlotOf(SlotKind kind) { return {nullptr, kind}; }

enum class Form { None, Number, Name };

enum class Op {
    List, Create, Options,
    SetLabel, Point, Note, Frame, Signal, Show, Relabel, Stage, Apply,
    ClearLabel, ClearState, ClearPosition, ClearContent, Touch, Flush,
    Progress, RecordsCheck, Open, Close, SetState, SetPosition, Append, Write,
    IsLocked, QueryField, Lock, Unlock, Refresh, Clone, Remove, Export, Import, Merge, Tag,
    SetField, Verify, Rename, CompareField, Backup, Restore,
    Targets, Version, Target,
};

struct Shape {
    const char* name;  // how fault switches name it ("only <name>")
    Op op;
    Form form;
    int minNumbers;  // for a Numbers slot: how many numbers it must hold (max in maxNumbers)
    int maxNumbers;
    int targetVerb;  // 1..26 for target commands, 0 otherwise
    std::vector<Piece> pieces;
};

// The whole table. Entry lines start with kToolExeName (the tool is started from its folder);
// target lines start with kPathMark and the tool's full path.
inline const std::vector<Shape>& AllShapes() {
    using K = SlotKind;
    const Piece e = SlotOf(K::Entry), a = SlotOf(K::A), b = SlotOf(K::B), nums = SlotOf(K::Numbers);
    const Piece m = Lit(kPathMark);
    static const std::vector<Shape> shapes = [&] {
        std::vector<Shape> s;
        auto both = [&](const char* name, Op op, const char* leadNumber, const char* leadName,
                        std::vector<Piece> restNumber, std::vector<Piece> restName, int minN = 0, int maxN = 0) {
            std::vector<Piece> pn{Lit(leadNumber), e};
            pn.insert(pn.end(), restNumber.begin(), restNumber.end());
            std::vector<Piece> pm{Lit(leadName), e};
            pm.insert(pm.end(), restName.begin(), restName.end());
            s.push_back({name, op, Form::Number, minN, maxN, 0, pn});
            s.push_back({name, op, Form::Name, minN, maxN, 0, pm});
        };
        auto entryFirst = [&](const char* name, Op op, std::vector<Piece> restNumber, std::vector<Piece> restName,
                              int minN = 0, int maxN = 0) {
            both(name, op, kEntryPrefixNumber, kEntryPrefixName, restNumber, restName, minN, maxN);
        };

        s.push_back({"list", Op::List, Form::None, 0, 0, 0, {Lit(kListCommand)}});
        s.push_back({"create", Op::Create, Form::None, 0, 0, 0, {Lit(kCreateEntryLead), e, Lit(kCreateEntryText), a}});
        s.push_back({"options", Op::Options, Form::Number, 0, 0, 0, {Lit(kSendOptionsLeadNumber), SlotOf(K::Rest)}});
        s.push_back({"options", Op::Options, Form::Name, 0, 0, 0, {Lit(kSendOptionsLeadName), SlotOf(K::Rest)}});

        entryFirst("set-label", Op::SetLabel, {Lit(kCommand02TextNumber), a, m}, {Lit(kCommand02TextName), a, m});
        entryFirst("point", Op::Point, {Lit(kPointAtTextNumber), nums, m}, {Lit(kPointAtTextName), nums, m}, 2, 2);
        entryFirst("note", Op::Note, {Lit(kCommand07TextNumber), a, Lit(kCommand07Tail)},
                   {Lit(kCommand07TextName), a, Lit(kCommand07Tail)});
        entryFirst("frame", Op::Frame, {Lit(kCommand08TextNumber), nums, m}, {Lit(kCommand08TextName), nums, m}, 4, 5);
        entryFirst("signal", Op::Signal, {Lit(kCommand09TextNumber), nums, m}, {Lit(kCommand09TextName), nums, m}, 1, 1);
        entryFirst("show", Op::Show, {Lit(kQueryTextTextNumber), a, m}, {Lit(kQueryTextTextName), a, m});
        entryFirst("relabel", Op::Relabel, {Lit(kCommand16TextNumber), a, Lit(kCommand16Mid), b, m},
                   {Lit(kCommand16TextName), a, Lit(kCommand16Mid), b, m});
        entryFirst("stage", Op::Stage, {Lit(kCommand17Text1Number), a, Lit(kCommand17Mid), b, m},
                   {Lit(kCommand17Text1Name), a, Lit(kCommand17Mid), b, m});
        entryFirst("apply", Op::Apply, {Lit(kCommand17Text2Number), a, Lit(kCommand17Mid), b, m},
                   {Lit(kCommand17Text2Name), a, Lit(kCommand17Mid), b, m});
        const Op clearOps[6] = {Op::ClearLabel, Op::ClearState, Op::ClearPosition, Op::ClearContent, Op::Touch, Op::Flush};
        const char* clearNames[6] = {"clear-label", "clear-state", "clear-position", "clear-content", "touch", "flush"};
        for (int k = 0; k < 6; ++k)
            entryFirst(clearNames[k], clearOps[k], {Lit(kCommand18TextsNumber[k])}, {Lit(kCommand18TextsName[k])});
        entryFirst("progress", Op::Progress, {Lit(kCommand20TextNumber), a, Lit(kMid9), b, m},
                   {Lit(kCommand20TextName), a, Lit(kMid9), b, m});
        entryFirst("records-check", Op::RecordsCheck, {Lit(kCaptureRowsTextNumber)}, {Lit(kCaptureRowsTextName)});
        entryFirst("open", Op::Open, {Lit(kCommand38TextNumber)}, {Lit(kCommand38TextName)});
        entryFirst("close", Op::Close, {Lit(kCommand39TextNumber)}, {Lit(kCommand39TextName)});
        entryFirst("set-state", Op::SetState, {Lit(kCommand40TextNumber), a, m}, {Lit(kCommand40TextName), a, m});
        entryFirst("set-position", Op::SetPosition, {Lit(kCommand41TextNumber), a, m}, {Lit(kCommand41TextName), a, m});
        entryFirst("append", Op::Append, {Lit(kCommand42TextNumber), a, m}, {Lit(kCommand42TextName), a, m});
        entryFirst("write", Op::Write, {Lit(kCommand43TextNumber), a, m}, {Lit(kCommand43TextName), a, m});

        both("is-locked", Op::IsLocked, kCommand19LeadNumber, kCommand19LeadName, {Lit(kCommand19TextNumber)},
             {Lit(kCommand19TextName)});
        both("query", Op::QueryField, kCommand32LeadNumber, kCommand32LeadName, {Lit(kCommand32TextNumber), a},
             {Lit(kCommand32TextName), a});
        both("lock", Op::Lock, kCommand21LeadNumber, kCommand21LeadName, {}, {m});
        both("unlock", Op::Unlock, kCommand22LeadNumber, kCommand22LeadName, {}, {m});
        both("remove", Op::Remove, kCommand26LeadNumber, kCommand26LeadName, {}, {m});
        both("verify", Op::Verify, kCommand33LeadNumber, kCommand33LeadName, {}, {m});
        s.push_back({"refresh", Op::Refresh, Form::None, 0, 0, 0, {Lit(kCommand23Line)}});
        s.push_back({"clone", Op::Clone, Form::None, 0, 0, 0, {Lit(kCommand25Lead), a, Lit(kCommand25Text), e, m}});
        both("export", Op::Export, kCommand27LeadNumber, kCommand27LeadName, {Lit(kCommand27TextNumber), a, m},
             {Lit(kCommand27TextName), a, m});
        both("import", Op::Import, kCommand28LeadNumber, kCommand28LeadName, {Lit(kCommand28TextNumber), a},
             {Lit(kCommand28TextName), a});
        both("merge", Op::Merge, kCommand29LeadNumber, kCommand29LeadName, {Lit(kCommand29TextNumber), a},
             {Lit(kCommand29TextName), a});
        both("tag", Op::Tag, kCommand30LeadNumber, kCommand30LeadName, {Lit(kCommand30TextNumber), a},
             {Lit(kCommand30TextName), a});
        both("set", Op::SetField, kCommand31LeadNumber, kCommand31LeadName,
             {Lit(kCommand31TextNumber), a, Lit(kCommand31Mid), b}, {Lit(kCommand31TextName), a, Lit(kCommand31Mid), b});
        both("compare", Op::CompareField, kCommand35LeadNumber, kCommand35LeadName,
             {Lit(kCommand35TextNumber), a, Lit(kCommand35Mid), b}, {Lit(kCommand35TextName), a, Lit(kCommand35Mid), b});
        both("rename", Op::Rename, kCommand34LeadNumber, kCommand34LeadName, {Lit(kCommand34TextNumber), a, m},
             {Lit(kCommand34TextName), a, m});
        both("backup", Op::Backup, kBackupEntryLeadNumber, kBackupEntryLeadName, {Lit(kBackupEntryTextNumber), a, m},
             {Lit(kBackupEntryTextName), a, m});
        both("restore", Op::Restore, kRestoreEntryLeadNumber, kRestoreEntryLeadName,
             {Lit(kRestoreEntryTextNumber), a, m}, {Lit(kRestoreEntryTextName), a, m});

        const Piece path = SlotOf(K::Path), target = SlotOf(K::Target);
        s.push_back({"targets", Op::Targets, Form::None, 0, 0, 0, {m, path, Lit(kListTail)}});
        s.push_back({"version", Op::Version, Form::None, 0, 0, 0, {m, path, Lit(kVerb27)}});
        auto targetCommand = [&](int verb, std::vector<Piece> own, int minN = 0, int maxN = 0) {
            static const char* const names[27] = {
                "target01", "target02", "target03", "target04", "target05", "target06", "target07",
                "target08", "target09", "target10", "target11", "target12", "target13", "target14",
                "target15", "target16", "target17", "target18", "target19", "target20", "target21",
                "target22", "target23", "target24", "target25", "target26", "target27"};
            std::vector<Piece> p{m, path, Lit(kTargetOption), target};
            p.insert(p.end(), own.begin(), own.end());
            s.push_back({names[verb - 1], Op::Target, Form::None, minN, maxN, verb, p});
        };
        targetCommand(1, {Lit(kVerb1), a, m});
        targetCommand(2, {Lit(kVerb2), a});
        targetCommand(3, {Lit(kVerb3), a, Lit(kMid3), b});
        targetCommand(4, {Lit(kVerb4), a, Lit(kMid4), b, m});
        targetCommand(5, {Lit(kVerb5)});
        targetCommand(6, {Lit(kVerb6)});
        targetCommand(7, {Lit(kVerb7), a});
        targetCommand(8, {Lit(kVerb8), a});
        targetCommand(9, {Lit(kVerb9), a, Lit(kMid9), b});
        targetCommand(10, {Lit(kVerb10), a});
        targetCommand(11, {Lit(kVerb11), a});
        targetCommand(12, {Lit(kVerb12), a});
        targetCommand(13, {Lit(kVerb13), nums}, 2, 2);
        targetCommand(14, {Lit(kVerb14), nums}, 4, 5);
        targetCommand(15, {Lit(kVerb15), a});
        targetCommand(16, {Lit(kVerb16), a});
        targetCommand(17, {Lit(kVerb17), a});
        targetCommand(18, {Lit(kVerb18), a});
        targetCommand(19, {Lit(kVerb19), a});
        targetCommand(20, {Lit(kVerb20)});
        targetCommand(21, {Lit(kVerb21)});
        targetCommand(22, {Lit(kVerb22), a});
        targetCommand(23, {Lit(kVerb23), a});
        targetCommand(24, {Lit(kVerb24), a});
        targetCommand(25, {Lit(kVerb25)});
        targetCommand(26, {Lit(kVerb26)});
        return s;
    }();
    return shapes;
}

}  // namespace entryctl
