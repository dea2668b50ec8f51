#pragma once
// Owners of GDI objects and of a window's device context (see UniqueResource.h).
//
// Move-only (the context owner cannot be moved or copied); any thread, but a device context is
// released on the thread that got it, as the system requires.

#include <windows.h>

#include "common/UniqueResource.h"

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type object) { ::DeleteObject(object); }
};
// Owns a font, brush, pen or bitmap.
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

// The device context of `window` (the screen's for a null window) from GetDC, released when the
// owner dies. get() is null when the system gave none; nothing is released then.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
