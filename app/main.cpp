#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "Entry Keeper", "Entry Keeper", MB_OK);
    return 0;
}
