#include "tools/entryctl/Commands.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "tools/entryctl/BackupFile.h"
#include "tools/entryctl/EntryStore.h"
#include "tools/entryctl/ToolFolder.h"

namespace entryctl {
namespace {

static_assert(std::char_traits<char>::compare(kCreateStrip, kCreateMarker,
                                              std::char_traits<char>::length(kCreateMarker)) == 0,
              "the create answer is kCreateStrip + number and must contain kCreateMarker");

Reply Ok(const Text& out) {
    Reply r;
    r.out = out;
    return r;
}

Reply Fail(const char* why) {
    Reply r;
    r.err = Text("entryctl: error: ") + why + kLineSep;
    r.exitCode = 1;
    return r;
}

Text Line(const Text& text) {
    return text + kLineSep;
}

// A listing field never carries the listing's own separators.
Text ListingField(const Text& text) {
    Text out = text;
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return out;
}

bool IsUsableName(const Text& name) {
    return !name.empty() && name.find_first_of(Text("\t\r\n\"\0", 5)) == Text::npos;
}

Text* FieldByName(StoredEntry& e, const Text& field) {
    if (field == "kind")
        return &e.kind;
    if (field == "label")
        return &e.label;
    if (field == "state")
        return &e.state;
    if (field == "position")
        return &e.position;
    if (field == "content")
        return &e.content;
    return nullptr;
}

// Text of a property for show and query; false for an unknown property.
bool PropertyText(const StoredEntry& e, const Text& what, Text* out) {
    if (what == "number")
        *out = std::to_string(e.number);
    else if (what == "name")
        *out = e.name;
    else if (what == "size")
        *out = std::to_string(e.content.size());
    else if (what == "checksum")
        *out = std::to_string(Crc32(e.content));
    else if (what == "locked")
        *out = e.locked ? "yes" : "no";
    else if (Text* field = FieldByName(const_cast<StoredEntry&>(e), what))
        *out = *field;
    else
        return false;
    return true;
}

Text JoinNumbers(const std::vector<int>& numbers) {
    Text out;
    for (size_t i = 0; i < numbers.size(); ++i)
        out += (i ? Text(kArgSep) : Text()) + std::to_string(numbers[i]);
    return out;
}

Reply List(EntryStore& store, const Faults& faults) {
    Text out;
    int last = 0;
    for (const StoredEntry& e : store.Entries()) {
        out += kNumberMark + std::to_string(e.number) + kCoordSep + ListingField(e.name) + kCoordSep +
               ListingField(e.kind) + kCoordSep + ListingField(e.label) + kCoordSep + ListingField(e.state) +
               kCoordSep + ListingField(e.position) + kCoordSep + std::to_string(e.content.size()) + kLineSep;
        last = e.number;
    }
    for (int i = 1; i <= faults.bigListing; ++i) {
        out += kNumberMark + std::to_string(last + i) + kCoordSep + "generated-" + std::to_string(i) + kCoordSep +
               kCreateModeText2 + kCoordSep + kCoordSep + kCoordSep + kCoordSep + "0" + kLineSep;
    }
    if (faults.dieListAfter < 0)
        return Ok(out);
    // Cut after the first N lines, and the tool ends there.
    size_t end = 0;
    for (int line = 0; line < faults.dieListAfter && end != Text::npos; ++line) {
        end = out.find(kLineSep, end);
        if (end != Text::npos)
            end += std::strlen(kLineSep);
    }
    Reply died = Ok(end == Text::npos ? out : out.substr(0, end));
    died.dies = true;
    return died;
}

Reply Create(EntryStore& store, const MatchedLine& m, const Faults& faults) {
    if (faults.createFail)
        return Fail("the entry could not be created");
    if (m.a != kCreateModeText1 && m.a != kCreateModeText2 && m.a != kCreateModeText3)
        return Fail("unknown creation mode");
    if (!IsUsableName(m.entry))
        return Fail("an entry name must not be empty nor hold tabs or line breaks");
    if (store.FindByName(m.entry))
        return Fail("an entry of that name exists");
    StoredEntry& e = store.Add(m.entry);
    e.kind = m.a;
    int number = e.number;
    if (!store.Save())
        return Fail("the entries could not be saved");
    return Ok(Line(kCreateStrip + std::to_string(number)));
}

// An option key as the C runtime hands it over: the key's quotes only open and close.
Text UnquotedKey(int k) {
    Text key;
    for (const char* c = kOptionKeys[k]; *c; ++c) {
        if (*c != '"')
            key += *c;
    }
    return key;
}

// The key word alone ("--color"), as it arrives where it stands outside quotes between two values.
Text KeyWord(int k) {
    const Text key = UnquotedKey(k);
    const size_t first = key.find_first_not_of(' ');
    const size_t last = key.find_last_not_of(' ');
    return first == Text::npos ? Text() : key.substr(first, last - first + 1);
}

int KeyOfWord(const Text& word) {
    for (int k = 0; k < 12; ++k) {
        if (word == KeyWord(k))
            return k;
    }
    return -1;
}

// The options command: numeric form "12" A, name form name PathMark A, where A is kArgSep
// (key value)* or a raw text. In the numeric form A stands inside quotes: the first argument is
// the number and A's start, then each key and each value is an argument of its own. In the name
// form A stands outside quotes: its leading kArgSep separates, the rest arrives as one argument
// after the name, keys without their quotes, values (which hold no blanks) between them.
Reply Options(EntryStore& store, const MatchedLine& m) {
    if (m.rest.empty())
        return UnknownCommand();
    const bool numeric = m.shape->form == Form::Number;
    Text entry = m.rest[0];
    Text first;
    if (numeric) {
        const size_t digits = entry.find_first_not_of("0123456789");
        first = digits == Text::npos ? Text() : entry.substr(digits);
        entry = entry.substr(0, digits);
    }
    StoredEntry* e = store.Find(entry, numeric);
    if (!e)
        return Fail("no such entry");
    if (e->locked)
        return Fail("the entry is locked");

    std::vector<std::pair<int, Text>> options;
    bool keyed = true;
    if (numeric) {
        keyed = first == kArgSep && m.rest.size() % 2 == 1;
        for (size_t i = 1; keyed && i < m.rest.size(); i += 2) {
            const int key = KeyOfWord(m.rest[i]);
            keyed = key >= 0;
            options.push_back({key, m.rest[i + 1]});
        }
    } else if (m.rest.size() == 2) {
        // kArgSep stood outside quotes, so it only separated this argument from the name.
        const Text& part = m.rest[1];
        size_t pos = 0;
        while (keyed && pos < part.size()) {
            int key = -1;
            for (int k = 0; k < 12 && key < 0; ++k) {
                if (part.compare(pos, UnquotedKey(k).size(), UnquotedKey(k)) == 0)
                    key = k;
            }
            if (key < 0) {
                keyed = false;
                break;
            }
            pos += UnquotedKey(key).size();
            size_t end = part.size();
            for (int k = 0; k < 12; ++k)
                end = std::min(end, part.find(UnquotedKey(k), pos));
            options.push_back({key, part.substr(pos, end - pos)});
            pos = end;
        }
    } else {
        keyed = m.rest.size() == 1;
    }

    Text applied;
    if (keyed) {
        for (const auto& [key, value] : options)
            applied += "option " + std::to_string(key + 1) + " = " + value + kLineSep;
    } else {
        Text raw = first;
        for (size_t i = 1; i < m.rest.size(); ++i)
            raw += (raw.empty() ? "" : " ") + m.rest[i];
        applied = "raw options: " + raw + kLineSep;
    }
    return Ok(applied + Line("options applied"));
}

Reply Targets() {
    Text bytes;
    if (!ReadBytes(InToolFolder(kTargetsFile), &bytes))
        return Ok(kNoTargetsReply1);
    Text out;
    for (Text& line : SplitLines(bytes)) {
        if (!line.empty())
            out += line + kLineSep;
    }
    if (out.empty())
        return Ok(kNoTargetsReply2);
    return Ok(Text(kTargetsHeading) + kLineSep + out);
}

// The description of target `id` from kTargetsFile; false when there is no such target.
bool FindTarget(const Text& id, Text* description) {
    Text bytes;
    if (id.empty() || !ReadBytes(InToolFolder(kTargetsFile), &bytes))
        return false;
    for (Text& line : SplitLines(bytes)) {
        size_t sep = line.find(kFieldSep);
        if (line.substr(0, sep) == id) {
            *description = sep == Text::npos ? Text() : line.substr(sep + std::strlen(kFieldSep));
            return true;
        }
    }
    return false;
}

bool IsInteger(const Text& t) {
    return IsDigits(t[0] == '-' ? t.substr(1) : t);
}

Reply TargetCommand(const MatchedLine& m) {
    Text description;
    if (!FindTarget(m.target, &description))
        return Fail("no such target");
    const Text marked = kLineMarker;
    switch (m.shape->targetVerb) {
        case 1:
        case 2:
            return m.a.empty() ? Fail("a file is needed") : Ok(Line(Text(kOkMarkerA) + " " + m.a));
        case 8: {
            Text bytes;
            return ReadBytes(m.a, &bytes) ? Ok(Line(Text(kOkMarkerA) + " " + m.a)) : Fail("the file cannot be read");
        }
        case 3:
        case 4:
            return Ok(Line(kOkMarkerB));
        case 5:
            return Ok(Line("Sessions of the target:") + Line(marked + m.target + "-main") +
                      Line(marked + m.target + "-spare"));
        case 6:
            return Ok(Line("Devices of the target:") + Line(marked + "console"));
        case 7:
            if (m.a == "id")
                return Ok(Line(marked + m.target));
            if (m.a == "description")
                return Ok(Line(marked + description));
            return Fail("unknown key");
        case 9:
            if (m.a.empty() || m.b.empty() || !IsInteger(m.a) || !IsInteger(m.b))
                return Fail("a size is two whole numbers");
            return Ok(Line(Text(kOkMarkerC) + " to " + m.a + "x" + m.b));
        case 20:
            return Ok(Line("watching the target") + Line("event: idle"));
        case 22:
        case 23: {
            Text bytes;
            if (!ReadBytes(m.a, &bytes))
                return Fail("the file cannot be read");
            if (m.shape->targetVerb == 23 && bytes.size() > 4096)
                bytes = bytes.substr(bytes.size() - 4096);
            return Ok(bytes);
        }
        case 25:
            return Ok(Line(kOkMarkerD));
        default:
            return Ok(Line("ok"));
    }
}

// Commands that address one entry.
Reply EntryCommand(EntryStore& store, const MatchedLine& m) {
    StoredEntry* e = store.Find(m.entry, m.shape->form == Form::Number);
    if (!e)
        return Fail("no such entry");
    const Op op = m.shape->op;
    const bool readOnly = op == Op::Show || op == Op::IsLocked || op == Op::QueryField || op == Op::Verify ||
                          op == Op::Export || op == Op::Backup || op == Op::CompareField || op == Op::RecordsCheck ||
                          op == Op::Touch || op == Op::Flush || op == Op::Stage || op == Op::Lock || op == Op::Unlock;
    if (!readOnly && e->locked)
        return Fail("the entry is locked");
    Reply reply = Ok(Line("ok"));
    Text value;
    switch (op) {
        case Op::SetLabel: e->label = m.a; break;
        case Op::Point: e->position = JoinNumbers(m.numbers); break;
        case Op::Note: e->content += m.a + kLineSep; reply = Ok(""); break;
        case Op::Frame: e->position = JoinNumbers(m.numbers); break;
        case Op::Signal: e->state = "signal " + std::to_string(m.numbers[0]); break;
        case Op::Show:
            if (m.a == kRecordsQuery) {
                // The records as stored: UTF-8 rows, printed byte for byte.
                if (!ReadBytes(RecordsFile(e->number), &value))
                    return Fail("the entry has no records");
                return Ok(value);
            }
            if (!PropertyText(*e, m.a, &value))
                return Fail("unknown property");
            return Ok(op == Op::Show && m.a == "content" ? value : Line(value));
        case Op::Relabel: {
            size_t at = m.a.empty() ? Text::npos : e->label.find(m.a);
            if (at == Text::npos)
                return Fail("the label does not hold that text");
            e->label.replace(at, m.a.size(), m.b);
            break;
        }
        case Op::Stage:
            if (!FieldByName(*e, m.a))
                return Fail("unknown field");
            return Ok(Line("staged"));
        case Op::Apply:
        case Op::SetField: {
            Text* field = FieldByName(*e, m.a);
            if (!field)
                return Fail("unknown field");
            *field = m.b;
            break;
        }
        case Op::ClearLabel: e->label.clear(); break;
        case Op::ClearState: e->state.clear(); break;
        case Op::ClearPosition: e->position.clear(); break;
        case Op::ClearContent: e->content.clear(); break;
        case Op::Touch: return Ok(Line("touched"));
        case Op::Flush: return Ok(Line("flushed"));
        case Op::Progress: e->state = m.a + kMid9 + m.b; break;
        case Op::RecordsCheck:
            if (GetFileAttributesA(RecordsFile(e->number).c_str()) == INVALID_FILE_ATTRIBUTES)
                return Ok(Line("no records"));
            return Ok(Line(kRecordsMarker));
        case Op::Open: e->state = "open"; break;
        case Op::Close: e->state = "closed"; break;
        case Op::SetState: e->state = m.a; break;
        case Op::SetPosition: e->position = m.a; break;
        case Op::Append: e->content += m.a; break;
        case Op::Write: e->content = m.a; break;
        case Op::IsLocked: return Ok(Line(e->locked ? kCommand19Marker : "0"));
        case Op::QueryField:
            if (!PropertyText(*e, m.a, &value))
                return Fail("unknown field");
            return Ok(Line(value));
        case Op::CompareField:
            if (!PropertyText(*e, m.a, &value))
                return Fail("unknown field");
            return Ok(Line(value == m.b ? "same" : "different"));
        case Op::Lock: e->locked = true; break;
        case Op::Unlock: e->locked = false; break;
        case Op::Remove:
            DeleteFileA(RecordsFile(e->number).c_str());
            store.Remove(e->number);
            break;
        case Op::Verify: return Ok(Line("verified"));
        case Op::Export:
            if (!ReplaceFileBytes(m.a, e->content))
                return Fail("the file cannot be written");
            return Ok(Line("exported"));
        case Op::Import:
        case Op::Merge: {
            Text bytes;
            if (!ReadBytes(m.a, &bytes))
                return Fail("the file cannot be read");
            e->content = op == Op::Import ? bytes : e->content + bytes;
            break;
        }
        case Op::Tag: e->label = e->label.empty() ? m.a : e->label + " " + m.a; break;
        case Op::Rename:
            if (!IsUsableName(m.a))
                return Fail("an entry name must not be empty nor hold tabs or line breaks");
            if (StoredEntry* other = store.FindByName(m.a); other && other != e)
                return Fail("an entry of that name exists");
            e->name = m.a;
            break;
        default: return UnknownCommand();
    }
    if (!store.Save())
        return Fail("the entries could not be saved");
    return reply;
}

Reply Backup(EntryStore& store, const MatchedLine& m, const Faults& faults) {
    StoredEntry* e = store.Find(m.entry, m.shape->form == Form::Number);
    if (!e)
        return Fail("no such entry");
    const Text done = Line("backed up entry " + std::to_string(e->number));
    if (faults.backupSilent)
        return Ok(done);
    if ((faults.backupTorn || faults.dieBackup) && !m.a.empty()) {
        Reply torn = Ok(done);
        torn.tornPath = m.a;
        torn.tornBytes = FormatBackup(*e);
        torn.dies = faults.dieBackup;
        return torn;
    }
    if (m.a.empty() || !ReplaceFileBytes(m.a, FormatBackup(*e)))
        return Fail("the backup file cannot be written");
    return Ok(done);
}

Reply Restore(EntryStore& store, const MatchedLine& m, const Faults& faults) {
    StoredEntry* e = store.Find(m.entry, m.shape->form == Form::Number);
    if (!e)
        return Fail("no such entry");
    if (faults.restoreRefuse)
        return Fail("the restore was refused");
    if (e->locked)
        return Fail("the entry is locked");
    Text bytes;
    if (m.a.empty() || !ReadBytes(m.a, &bytes))
        return Fail("the backup file cannot be read");
    StoredEntry restored = *e;
    if (!ParseBackup(bytes, &restored))
        return Fail("the backup file is damaged");
    // The entry keeps its own number and name; everything else comes from the file.
    restored.number = e->number;
    restored.name = e->name;
    *e = restored;
    if (!store.Save())
        return Fail("the entries could not be saved");
    return Ok(Line(kRestoreMarker));
}

Reply Clone(EntryStore& store, const MatchedLine& m) {
    StoredEntry* source = store.Find(m.a, IsDigits(m.a));
    if (!source)
        return Fail("no such entry");
    if (!IsUsableName(m.entry))
        return Fail("an entry name must not be empty nor hold tabs or line breaks");
    if (store.FindByName(m.entry))
        return Fail("an entry of that name exists");
    StoredEntry copy = *source;
    StoredEntry& e = store.Add(m.entry);
    copy.number = e.number;
    copy.name = e.name;
    copy.locked = false;
    e = copy;
    int number = e.number;
    if (!store.Save())
        return Fail("the entries could not be saved");
    return Ok(Line(Text(kCommand25Marker) + " " + std::to_string(number)));
}

}  // namespace

Reply UnknownCommand() {
    Reply r = Fail("unknown command");
    r.exitCode = 2;
    return r;
}

Reply RunCommand(const MatchedLine& m, const Faults& faults) {
    if (faults.failAll)
        return Fail("the tool is out of order");
    EntryStore store;
    store.Load();
    switch (m.shape->op) {
        case Op::List: return List(store, faults);
        case Op::Create: return Create(store, m, faults);
        case Op::Options: return Options(store, m);
        case Op::Refresh: return Ok(Line("refreshed " + std::to_string(store.Entries().size()) + " entries"));
        case Op::Clone: return Clone(store, m);
        case Op::Backup: return Backup(store, m, faults);
        case Op::Restore: return Restore(store, m, faults);
        case Op::Targets: return Targets();
        case Op::Version: return Ok(Line("entryctl 1.0"));
        case Op::Target: return TargetCommand(m);
        default: return EntryCommand(store, m);
    }
}

}  // namespace entryctl
