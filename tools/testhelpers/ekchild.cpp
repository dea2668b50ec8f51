// ekchild: a console program that does what its arguments say, in order, so that tests can start
// a real child with known behaviour. Every write goes straight to the handle (no buffering), so the
// order of the actions is the order of the bytes in a shared pipe.
//
//   out:TEXT        write TEXT to standard output     (escapes: \n \r \t \0 \\ \xHH)
//   err:TEXT        write TEXT to standard error
//   slow:N:MS:TEXT  write TEXT to standard output N times, pausing MS milliseconds after each
//   bulk:BYTES      write BYTES bytes to standard output: byte i is the digit i % 10
//   cmdline         write the command line as received (GetCommandLineA) and a line feed
//   args            write every argument after the program name as [argument] and a line feed
//   sleep:MS        pause MS milliseconds
//   touch:PATH      create the (empty) file PATH
//   pid:PATH        write this process's id in decimal to the file PATH
//   wait:PATH       pause until the file PATH exists (for at most 60 seconds, then go on)
//   grow:PATH:N:MS  append one byte to the file PATH N times, pausing MS milliseconds after each
//   conwin          write "console window" or "no console window" (GetConsoleWindow) and a line feed
//   hang            pause for ever
//   exit:CODE       end at once with CODE (the default end is code 0 after the last action)
// An unknown action ends the program with code 2. A write that fails (the reading end is gone)
// is given up and the next action follows, as a console program that ignores its write errors.

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void WriteAll(DWORD which, const std::string& bytes) {
    HANDLE handle = GetStdHandle(which);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        switch (next) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '0': out += '\0'; break;
            case 'x':
                if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
                    out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
                    i += 2;
                } else {
                    out += "\\x";
                }
                break;
            default: out += next; break;
        }
    }
    return out;
}

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
    std::string p = prefix;
    if (text.compare(0, p.size(), p) != 0)
        return false;
    *rest = text.substr(p.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string action = argv[i];
        std::string rest;
        if (StartsWith(action, "out:", &rest)) {
            WriteAll(STD_OUTPUT_HANDLE, Unescape(rest));
        } else if (StartsWith(action, "err:", &rest)) {
            WriteAll(STD_ERROR_HANDLE, Unescape(rest));
        } else if (StartsWith(action, "slow:", &rest)) {
            size_t a = rest.find(':');
            size_t b = a == std::string::npos ? a : rest.find(':', a + 1);
            if (b == std::string::npos)
                return 2;
            int count = std::atoi(rest.substr(0, a).c_str());
            int pause = std::atoi(rest.substr(a + 1, b - a - 1).c_str());
            std::string text = Unescape(rest.substr(b + 1));
            for (int k = 0; k < count; ++k) {
                WriteAll(STD_OUTPUT_HANDLE, text);
                Sleep(pause);
            }
        } else if (StartsWith(action, "bulk:", &rest)) {
            long long total = std::atoll(rest.c_str());
            std::string block;
            for (long long done = 0; done < total;) {
                block.clear();
                for (int k = 0; k < 65536 && done < total; ++k, ++done)
                    block += static_cast<char>('0' + done % 10);
                WriteAll(STD_OUTPUT_HANDLE, block);
            }
        } else if (action == "cmdline") {
            WriteAll(STD_OUTPUT_HANDLE, std::string(GetCommandLineA()) + "\n");
        } else if (action == "args") {
            for (int k = 1; k < argc; ++k)
                WriteAll(STD_OUTPUT_HANDLE, "[" + std::string(argv[k]) + "]\n");
        } else if (StartsWith(action, "sleep:", &rest)) {
            Sleep(static_cast<DWORD>(std::atoi(rest.c_str())));
        } else if (StartsWith(action, "touch:", &rest)) {
            HANDLE file = CreateFileA(rest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
        } else if (StartsWith(action, "pid:", &rest)) {
            std::string id = std::to_string(GetCurrentProcessId());
            HANDLE file = CreateFileA(rest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                WriteFile(file, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
                CloseHandle(file);
            }
        } else if (StartsWith(action, "wait:", &rest)) {
            for (int waited = 0; waited < 60000 && GetFileAttributesA(rest.c_str()) == INVALID_FILE_ATTRIBUTES;
                 waited += 10)
                Sleep(10);
        } else if (StartsWith(action, "grow:", &rest)) {
            // PATH may hold a drive's colon: the last two fields are the numbers.
            size_t b = rest.rfind(':');
            size_t a = b == std::string::npos || b == 0 ? std::string::npos : rest.rfind(':', b - 1);
            if (a == std::string::npos)
                return 2;
            std::string path = rest.substr(0, a);
            int count = std::atoi(rest.substr(a + 1, b - a - 1).c_str());
            int pause = std::atoi(rest.substr(b + 1).c_str());
            for (int k = 0; k < count; ++k) {
                HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, 0, nullptr);
                if (file != INVALID_HANDLE_VALUE) {
                    DWORD written = 0;
                    WriteFile(file, "x", 1, &written, nullptr);
                    CloseHandle(file);
                }
                Sleep(pause);
            }
        } else if (action == "conwin") {
            WriteAll(STD_OUTPUT_HANDLE, GetConsoleWindow() ? "console window\n" : "no console window\n");
        } else if (action == "hang") {
            Sleep(INFINITE);
        } else if (StartsWith(action, "exit:", &rest)) {
            ExitProcess(static_cast<UINT>(std::atoi(rest.c_str())));
        } else {
            return 2;
        }
    }
    return 0;
}
