// Backup file names, for every entry name a tool may list, in code page 936. For each entry of a
// pass (names and folders from the input, some names repeated or in another letter case):
//  - the path is the folder (without the separators it may end with), one separator, and a file
//    name ending in the backup extension: inside the folder, never in a folder below it;
//  - the file name holds no character a Windows file name cannot hold, read as Windows reads code
//    page 936 (a lead byte takes its second byte only when that is a valid one);
//  - the name's stem is never empty, does not end in a dot or a space, is not a device name, and
//    is the entry's name character for character, each character kept whole or replaced;
//  - no two entries of the pass get the same file, nor an entry a file kept for another name,
//    with file names compared as Windows compares them: character by character, letters in any
//    case (the Unicode upper case of each character, full-width, Greek and Cyrillic letters too),
//    a run of separators as one.
// Characters and their upper case are found with the C library's own code page 936 conversion
// and case table, apart from the code under test.

#include <fuzzer/FuzzedDataProvider.h>
#include <iconv.h>

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <vector>

#include "common/portable/LeadBytes.h"
#include "fuzz/FuzzCheck.h"
#include "workers/portable/BackupFileName.h"

namespace {

const char* const kFolders[] = {"C:\\Backups", "D:\\\xB1\xB8\xB7\xDD", "", "C:\\dir\\", "\\\\server\\share"};
constexpr char kExtension[] = ".ekb";
constexpr char kFiller = '_';

// One character of code page 936 text: its bytes (1 or 2).
std::vector<Text> Characters(const Text& text) {
    std::vector<Text> chars;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const bool pair =
            lead >= 0x81 && lead <= 0xFE && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40 &&
            static_cast<unsigned char>(text[i + 1]) != 0x7F && static_cast<unsigned char>(text[i + 1]) != 0xFF;
        chars.push_back(text.substr(i, pair ? 2 : 1));
        i += pair ? 2 : 1;
    }
    return chars;
}

bool IsForbidden(const Text& c) {
    if (c.size() != 1)
        return false;
    const unsigned char b = static_cast<unsigned char>(c[0]);
    return b < 0x20 || b == 0x7F || std::strchr("<>:\"/\\|?*", b) != nullptr;
}

bool IsLoneLead(const Text& c) {
    const unsigned char b = static_cast<unsigned char>(c[0]);
    return c.size() == 1 && b >= 0x81 && b <= 0xFE;
}

bool EqualsAsciiIgnoringCase(Text a, const char* b) {
    for (char& c : a)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return a == b;
}

bool IsDeviceName(const Text& fileName) {
    Text base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (EqualsAsciiIgnoringCase(base, device))
            return true;
    }
    return base.size() == 4 && base[3] >= '0' && base[3] <= '9' &&
           (EqualsAsciiIgnoringCase(base.substr(0, 3), "COM") || EqualsAsciiIgnoringCase(base.substr(0, 3), "LPT"));
}

// A file path as Windows compares it: each character's Unicode upper case, and a run of
// separators as one (but the two that open a server's share). A byte the conversion cannot take
// stays a unit of its own, apart from every character.
std::u32string WindowsKey(const Text& path) {
    static iconv_t toUnicode = iconv_open("UTF-32LE", "CP936");
    std::u32string key;
    for (const Text& c : Characters(path)) {
        if (c == "\\" && key.size() > 1 && key.back() == U'\\')
            continue;
        char32_t unit = 0;
        char* in = const_cast<char*>(c.data());
        size_t inLeft = c.size();
        char out[8];
        char* outAt = out;
        size_t outLeft = sizeof out;
        iconv(toUnicode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toUnicode, &in, &inLeft, &outAt, &outLeft) != static_cast<size_t>(-1) && outAt - out == 4) {
            std::memcpy(&unit, out, 4);
            unit = static_cast<char32_t>(std::towupper(static_cast<wint_t>(unit)));
        } else {
            unit = 0x110000 + static_cast<unsigned char>(c[0]) * 256 +
                   (c.size() > 1 ? static_cast<unsigned char>(c[1]) : 0);
        }
        key += unit;
    }
    return key;
}

// `name` with every character in the other letter case where code page 936 has one, found through
// the C library: so the input can name a letter and get its other case without knowing the table.
Text OtherCase(const Text& name) {
    static iconv_t toUnicode = iconv_open("UTF-32LE", "CP936");
    static iconv_t fromUnicode = iconv_open("CP936", "UTF-32LE");
    Text result;
    for (const Text& c : Characters(name)) {
        char* in = const_cast<char*>(c.data());
        size_t inLeft = c.size();
        char32_t unit = 0;
        char* outAt = reinterpret_cast<char*>(&unit);
        size_t outLeft = 4;
        iconv(toUnicode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toUnicode, &in, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1) || outLeft != 0) {
            result += c;
            continue;
        }
        const wint_t upper = std::towupper(static_cast<wint_t>(unit));
        char32_t other = upper != unit ? static_cast<char32_t>(upper) : static_cast<char32_t>(std::towlower(unit));
        char bytes[8];
        char* from = reinterpret_cast<char*>(&other);
        size_t fromLeft = 4;
        char* to = bytes;
        size_t toLeft = sizeof bytes;
        iconv(fromUnicode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(fromUnicode, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1))
            result += c;
        else
            result.append(bytes, static_cast<size_t>(to - bytes));
    }
    return result;
}

// Who holds each file (by its Windows key) in the pass so far.
struct Holder {
    Text name;
    int entry = 0;  // 0: kept for the name, no entry has it yet
};

class Pass {
  public:
    void Reserve(const Text& name, const Text& path) {
        picker_.Reserve(name, path);
        holders_.try_emplace(WindowsKey(path), Holder{name, 0});
    }

    void Pick(const Text& folder, const Text& name, int entry) {
        const Text path = picker_.Pick(folder, name, entry);
        const std::string where = "entry " + std::to_string(entry) + " " + ShowBytes(name) + " in " +
                                  ShowBytes(folder) + " got " + ShowBytes(path);
        CheckFileName(folder, name, path, where);
        Hold(path, name, entry, where);
    }

    void Claim(const Text& path, const Text& name, int entry) {
        if (picker_.Claim(path, name, entry))
            Hold(path, name, entry,
                 "entry " + std::to_string(entry) + " " + ShowBytes(name) + " claimed " + ShowBytes(path));
    }

  private:
    static void CheckFileName(const Text& folder, const Text& name, const Text& path, const std::string& where) {
        // The folder without its closing separators, then one.
        std::vector<Text> folderChars = Characters(folder);
        while (!folderChars.empty() && folderChars.back() == "\\")
            folderChars.pop_back();
        Text lead;
        for (const Text& c : folderChars)
            lead += c;
        lead += "\\";
        FUZZ_CHECK(path.compare(0, lead.size(), lead) == 0, where);
        const Text file = path.substr(lead.size());
        FUZZ_CHECK(file.size() > std::strlen(kExtension) &&
                       file.compare(file.size() - std::strlen(kExtension), std::string::npos, kExtension) == 0,
                   where);
        for (const Text& c : Characters(file))
            FUZZ_CHECK(!IsForbidden(c), where + ": the file name holds " + ShowBytes(c));
        FUZZ_CHECK(!IsDeviceName(file), where + ": a device name");

        const Text stem = SafeFileStem(name, LeadBytes::CodePage936());
        FUZZ_CHECK(!stem.empty() && stem.back() != '.' && stem.back() != ' ', "stem " + ShowBytes(stem));
        FUZZ_CHECK(file.compare(0, stem.size(), stem) == 0, where + ": not from the stem " + ShowBytes(stem));
        // Character for character: kept, or replaced by the filler (which may also stand in front).
        std::vector<Text> from = Characters(name);
        std::vector<Text> to = Characters(stem);
        if (to.size() == from.size() + 1 && to[0] == Text(1, kFiller))
            to.erase(to.begin());
        FUZZ_CHECK(to.size() == from.size(),
                   "stem " + ShowBytes(stem) + " of " + ShowBytes(name) + ": characters lost or split");
        size_t trailing = from.size();
        while (trailing > 0 && (from[trailing - 1] == "." || from[trailing - 1] == " "))
            --trailing;
        for (size_t i = 0; i < from.size(); ++i) {
            if (to[i] == from[i])
                continue;
            const bool replaceable = IsForbidden(from[i]) || IsLoneLead(from[i]) || i >= trailing;
            FUZZ_CHECK(to[i] == Text(1, kFiller) && replaceable,
                       "stem " + ShowBytes(stem) + " of " + ShowBytes(name) + " changes " + ShowBytes(from[i]));
        }
    }

    void Hold(const Text& path, const Text& name, int entry, const std::string& where) {
        auto [it, added] = holders_.try_emplace(WindowsKey(path), Holder{name, entry});
        if (added)
            return;
        Holder& holder = it->second;
        FUZZ_CHECK(holder.name == name, where + ": the file is " + ShowBytes(holder.name) + "'s");
        FUZZ_CHECK(holder.entry == 0 || holder.entry == entry,
                   where + ": entry " + std::to_string(holder.entry) + " has that file already");
        holder.entry = entry;
    }

    BackupPathPicker picker_{LeadBytes::CodePage936()};
    std::map<std::u32string, Holder> holders_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Pass pass;
    std::vector<Text> names;
    // What the previous manifest keeps: paths held for names of this pass.
    const int reservations = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < reservations; ++i) {
        const Text name = input.ConsumeRandomLengthString(40);
        const Text folder = kFolders[input.ConsumeIntegralInRange<size_t>(0, std::size(kFolders) - 1)];
        pass.Reserve(name, folder + "\\" + input.ConsumeRandomLengthString(40) + kExtension);
        names.push_back(name);
    }
    for (int entry = 1; entry <= 64 && input.remaining_bytes() > 0; ++entry) {
        Text name;
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                name = names.empty() ? Text() : names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)];
                break;
            case 1:
                name = names.empty() ? Text()
                                     : OtherCase(names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)]);
                break;
            default:
                name = input.ConsumeRandomLengthString(60);
                break;
        }
        names.push_back(name);
        const Text folder = kFolders[input.ConsumeIntegralInRange<size_t>(0, std::size(kFolders) - 1)];
        pass.Pick(folder, name, entry);
        if (input.ConsumeBool())  // the entry's backup failed: it keeps an earlier file, if it may
            pass.Claim(folder + "\\" + input.ConsumeRandomLengthString(40) + kExtension, name, entry);
    }
    return 0;
}
