#pragma once
// Owners of kernel handles, registry keys and BSTRs (see UniqueResource.h).

#include <windows.h>
#include <oleauto.h>

#include "common/UniqueResource.h"

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
// For handles whose "none" value is nullptr (process, thread, pipe, timer, event).
using UniqueHandle = UniqueResource<KernelHandleTraits>;

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
// For CreateFile and FindFirstFile-style results whose "none" value is INVALID_HANDLE_VALUE.
using UniqueFileHandle = UniqueResource<FileHandleTraits>;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type k) { ::RegCloseKey(k); }
};
using UniqueRegKey = UniqueResource<RegKeyTraits>;

struct BstrTraits {
    using Type = BSTR;
    static Type Invalid() { return nullptr; }
    static void Close(Type s) { ::SysFreeString(s); }
};
using UniqueBstr = UniqueResource<BstrTraits>;
