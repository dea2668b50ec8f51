#include "app/window/DpiScaling.h"

int ScaleToDpi(int dips, int dpi) {
    return MulDiv(dips, dpi, kDefaultDpi);
}

int SystemDpi() {
    WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    // Looked up at run time: older systems lack it, and then every window has the system's DPI.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

UniqueGdiObject CreateMessageFont(int dpi) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return UniqueGdiObject();
    // The system gives the font for its own DPI; a window on another monitor needs it rescaled.
    LOGFONTA font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
    return UniqueGdiObject(CreateFontIndirectA(&font));
}
