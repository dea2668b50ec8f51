#pragma once
// AutomationObject: the owner of one automation object reached by late binding, and its creation.
// Member access (GetProperty, SetProperty, CallMethod) is in AutomationAccess.h, which also shows
// a usage example; argument and VARIANT handling is in AutomationValue.h.
//
// COM must be initialised on the calling thread (ScopedComInit in common/ComOwners.h), and an
// object is used only on the thread that created it. Nothing here throws or shows a message.

#include <windows.h>
#include <unknwn.h>

#include "common/ComOwners.h"
#include "common/portable/Text.h"

// Holds at most one object (as IUnknown) and one reference to it. Starts empty; move-only, so a
// second holder of the same object is made explicitly with AssignObject.
class AutomationObject {
public:
    AutomationObject() = default;
    // Takes over the reference `unknown` holds.
    explicit AutomationObject(ComPtr<IUnknown> unknown) : unknown_(std::move(unknown)) {}
    AutomationObject(AutomationObject&&) noexcept = default;
    AutomationObject& operator=(AutomationObject&&) noexcept = default;
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    IUnknown* get() const { return unknown_.get(); }
    // Releases what is held and takes over the reference `unknown` holds.
    void Reset(ComPtr<IUnknown> unknown = {}) { unknown_ = std::move(unknown); }

private:
    ComPtr<IUnknown> unknown_;
};

// Creates an object of class `classText` into `holder`: a braced CLSID ("{...}") or a ProgID.
// With `libraryFile` given and a class text not starting with '{', the class is first looked up
// by name in that type library and created from it; the library is then registered when its
// file name holds a backslash. Otherwise the class is created with the server context 0x17, and
// once more with 7 when that is rejected with E_INVALIDARG. The new object must run (OleRun).
// Returns false on any failure, and `holder` then keeps what it held.
bool CreateObject(AutomationObject& holder, const Text& classText, const Text& libraryFile = {});

// Releases the held object; the holder is empty afterwards.
void ReleaseObject(AutomationObject& holder);

// True when the holder holds no object.
bool IsEmptyObject(const AutomationObject& holder);

// Makes `target` share the object of `source` (one more reference); an empty source empties it.
void AssignObject(AutomationObject& target, const AutomationObject& source);
