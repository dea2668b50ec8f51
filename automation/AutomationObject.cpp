#include "automation/AutomationObject.h"

#include <oleauto.h>
#include <ole2.h>

#include <string>

#include "automation/BstrText.h"

namespace {

constexpr DWORD kServerContextAll = 0x17;  // in-process server and handler, local and remote server
constexpr DWORD kServerContextLocal = 7;   // the same without remote server

// An instance of the class named `className` in the type library `libraryFile`, or empty.
ComPtr<IUnknown> CreateFromTypeLibrary(const Text& className, const Text& libraryFile) {
    std::wstring path = TextToWide(libraryFile);
    ComPtr<ITypeLib> library;
    if (path.empty() || FAILED(::LoadTypeLib(path.c_str(), library.put())))
        return {};
    std::wstring name = TextToWide(className);  // FindName may rewrite the case of its buffer
    if (name.empty())
        return {};
    ITypeInfo* found[1] = {nullptr};
    MEMBERID memberIds[1] = {MEMBERID_NIL};
    USHORT foundCount = 1;
    if (FAILED(library->FindName(name.data(), 0, found, memberIds, &foundCount)))
        return {};
    ComPtr<ITypeInfo> typeInfo(foundCount >= 1 ? found[0] : nullptr);
    ComPtr<IUnknown> instance;
    if (foundCount != 1 || !typeInfo || FAILED(typeInfo->CreateInstance(nullptr, IID_IUnknown, instance.putVoid())))
        return {};
    if (libraryFile.find('\\') != Text::npos)
        ::RegisterTypeLib(library.get(), path.data(), nullptr);
    return instance;
}

// An instance of the class given as braced CLSID or ProgID, or empty.
ComPtr<IUnknown> CreateFromClassText(const Text& classText) {
    const std::wstring wide = TextToWide(classText);
    if (wide.empty())
        return {};
    CLSID clsid;
    const HRESULT found = wide[0] == L'{' ? ::CLSIDFromString(wide.c_str(), &clsid)
                                          : ::CLSIDFromProgID(wide.c_str(), &clsid);
    if (FAILED(found))
        return {};
    ComPtr<IUnknown> instance;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, kServerContextAll, IID_IUnknown, instance.putVoid());
    if (hr == E_INVALIDARG)
        hr = ::CoCreateInstance(clsid, nullptr, kServerContextLocal, IID_IUnknown, instance.putVoid());
    if (FAILED(hr))
        return {};
    return instance;
}

}  // namespace

bool CreateObject(AutomationObject& holder, const Text& classText, const Text& libraryFile) {
    ComPtr<IUnknown> created;
    if (!libraryFile.empty() && !(classText.size() > 0 && classText[0] == '{'))
        created = CreateFromTypeLibrary(classText, libraryFile);
    if (!created)
        created = CreateFromClassText(classText);
    if (!created || FAILED(::OleRun(created.get())))
        return false;
    holder.Reset(std::move(created));
    return true;
}

void ReleaseObject(AutomationObject& holder) {
    holder.Reset();
}

bool IsEmptyObject(const AutomationObject& holder) {
    return holder.get() == nullptr;
}

void AssignObject(AutomationObject& target, const AutomationObject& source) {
    target.Reset(ComPtr<IUnknown>::Share(source.get()));
}
