#pragma once
// The values exchanged with automation objects: arguments (AutomationArg), the VARIANT holder
// operations, and the conversions between VARIANTs and the program's own value kinds.
//
// Argument kinds and what the object receives:
//   kOmitted -> VT_ERROR DISP_E_PARAMNOTFOUND (dropped when nothing but omitted ones follow)
//   bool -> VT_BOOL (-1/0) · OleDate -> VT_DATE · Text / const char* -> VT_BSTR
//   uint8_t -> VT_UI1 · int16_t -> VT_I2 · int32_t, long -> VT_I4 · int64_t -> VT_I4 (low 32 bits)
//   float -> VT_R4 · double -> VT_R8 · VARIANT / VariantHolder -> a copy (VT_EMPTY counts as omitted)
//   AutomationObject -> VT_UNKNOWN (an empty holder: VT_EMPTY) · std::optional<T> -> T or omitted
// Any other C++ type does not compile. ByRef(variable) passes the caller's variable so that an
// output parameter of the member can write back into it.
//
// An AutomationArg refers to the caller's text, VARIANT or object: build it in the call that uses it.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <variant>

#include "automation/AutomationObject.h"
#include "common/ComOwners.h"
#include "common/portable/Text.h"

// An OLE date: days since 30 December 1899, the fraction being the time of day.
struct OleDate {
    double days = 0.0;
};

// An argument left out; the member applies its own default.
struct OmittedArg {};
inline constexpr OmittedArg kOmitted{};

// The design's VARIANT holder: one VARIANT owned by its holder, cleared when it dies.
using VariantHolder = UniqueVariant;

class AutomationArg {
public:
    AutomationArg(OmittedArg) {}
    AutomationArg(bool v) : value_(v) {}
    AutomationArg(OleDate v) : value_(v) {}
    AutomationArg(const Text& v) : value_(&v) {}
    AutomationArg(const char* v) : value_(v) {}
    AutomationArg(uint8_t v) : value_(v) {}
    AutomationArg(int16_t v) : value_(v) {}
    AutomationArg(int32_t v) : value_(v) {}
    AutomationArg(long v) : value_(static_cast<int32_t>(v)) {}
    AutomationArg(int64_t v) : value_(v) {}
    AutomationArg(float v) : value_(v) {}
    AutomationArg(double v) : value_(v) {}
    AutomationArg(const VARIANT& v) : value_(&v) {}
    AutomationArg(const VariantHolder& v) : value_(v.get()) {}
    AutomationArg(const AutomationObject& v) : value_(&v) {}
    template <typename T>
    AutomationArg(const std::optional<T>& v) : AutomationArg(v ? AutomationArg(*v) : AutomationArg(kOmitted)) {}

    // The caller's variable, read for the call and written back from an output parameter.
    template <typename T>
    static AutomationArg Reference(T& variable) {
        AutomationArg arg(kOmitted);
        arg.value_ = &variable;
        return arg;
    }

    // True for kOmitted, an empty optional and a VT_EMPTY VARIANT: all reach the object as omitted.
    bool IsOmitted() const;
    bool IsReference() const { return value_.index() >= kFirstReference; }

    // `out` (empty on entry) receives the VARIANT of the table above. False only when memory runs out.
    bool ToVariant(VARIANT* out) const;
    // Stores `v` into the caller's variable of a reference argument, converted to the variable's
    // kind as a result would be. Returns the conversion's HRESULT (S_OK for a non-reference).
    HRESULT StoreIntoReference(const VARIANT& v) const;

private:
    using Value = std::variant<OmittedArg, bool, OleDate, const Text*, const char*, uint8_t, int16_t, int32_t,
                               int64_t, float, double, const VARIANT*, const AutomationObject*,
                               // references to the caller's variables (kFirstReference on):
                               bool*, OleDate*, Text*, uint8_t*, int16_t*, int32_t*, int64_t*, float*, double*,
                               VariantHolder*, AutomationObject*>;
    static constexpr size_t kFirstReference = 13;
    Value value_;
};

// The caller's variable as an argument (see AutomationArg::Reference).
template <typename T>
AutomationArg ByRef(T& variable) {
    return AutomationArg::Reference(variable);
}

// Result conversion from a VARIANT to a requested kind: every kind but VariantHolder through
// VariantChangeType (flags 0). Text comes from VT_BSTR in the ANSI code page, bool from VT_BOOL,
// int64_t from VT_I4 sign-extended, AutomationObject from VT_UNKNOWN with its own reference, and
// VariantHolder receives a copy. A record (VT_RECORD) converts to nothing. `out` is written only
// on success; the result is the HRESULT of the conversion.
HRESULT ConvertVariant(const VARIANT& v, Text& out);
HRESULT ConvertVariant(const VARIANT& v, double& out);
HRESULT ConvertVariant(const VARIANT& v, float& out);
HRESULT ConvertVariant(const VARIANT& v, bool& out);
HRESULT ConvertVariant(const VARIANT& v, uint8_t& out);
HRESULT ConvertVariant(const VARIANT& v, int16_t& out);
HRESULT ConvertVariant(const VARIANT& v, int32_t& out);
HRESULT ConvertVariant(const VARIANT& v, int64_t& out);
HRESULT ConvertVariant(const VARIANT& v, OleDate& out);
HRESULT ConvertVariant(const VARIANT& v, AutomationObject& out);
HRESULT ConvertVariant(const VARIANT& v, VariantHolder& out);

// Clears `holder` and stores `value` in it by the argument table; an AutomationObject is stored
// as VT_UNKNOWN (an empty one as VT_EMPTY), a reference as the current value of its variable.
// False (and `holder` empty) only when memory runs out.
bool AssignVariant(VariantHolder& holder, const AutomationArg& value);

// The text form of a VARIANT in the ANSI code page: a VT_BSTR as it is, anything else changed to
// VT_BSTR (flags 0). An array, or a VARIANT that cannot be changed, gives empty text.
Text VariantToText(const VARIANT& v);
inline Text VariantToText(const VariantHolder& holder) {
    return VariantToText(*holder.get());
}

// Empties the holder (VariantClear) and zero-fills its VARIANT.
void ClearVariant(VariantHolder& holder);
