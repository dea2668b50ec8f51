// The settings file's texts, whatever the folder field or the file holds:
//  - the folder as stored holds no line break (a line of its own in the file could read as a
//    section or key), is the folder up to its first line break, and is the whole folder when it
//    has none;
//  - a stored option selects option 1, 2 or 3 only when it is exactly that digit, nothing else.

#include <cstddef>
#include <cstdint>

#include "app/program/portable/SettingsText.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);

    const Text stored = FolderTextForSettings(text);
    FUZZ_CHECK(stored.find_first_of("\r\n") == Text::npos, ShowBytes(text) + " stored as " + ShowBytes(stored));
    FUZZ_CHECK(text.compare(0, stored.size(), stored) == 0,
               ShowBytes(stored) + " is not the start of " + ShowBytes(text));
    FUZZ_CHECK(stored.size() == text.size() || text[stored.size()] == '\r' || text[stored.size()] == '\n',
               ShowBytes(text) + " cut early: " + ShowBytes(stored));

    const int option = OptionFromSettingsText(text);
    const int want = text == "1" ? 1 : text == "2" ? 2 : text == "3" ? 3 : 0;
    FUZZ_CHECK(option == want, ShowBytes(text) + " selects option " + std::to_string(option));
    return 0;
}
