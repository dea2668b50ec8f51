#include "automation/AutomationValue.h"

#include <cstring>
#include <type_traits>

#include "automation/BstrText.h"

namespace {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

bool IsRecord(const VARIANT& v) {
    return (V_VT(&v) & VT_TYPEMASK) == VT_RECORD;
}

// `v` changed to `type` into `out` (fresh), by VariantChangeType with flags 0.
HRESULT ChangeTo(const VARIANT& v, VARTYPE type, VariantHolder& out) {
    if (IsRecord(v))
        return DISP_E_TYPEMISMATCH;
    return ::VariantChangeType(out.put(), const_cast<VARIANT*>(&v), 0, type);
}

bool StoreText(const char* text, size_t size, VARIANT* out) {
    UniqueBstr bstr = TextToBstr(Text(text, size));
    if (!bstr)
        return false;
    V_VT(out) = VT_BSTR;
    V_BSTR(out) = bstr.release();
    return true;
}

}  // namespace

bool AutomationArg::IsOmitted() const {
    if (std::holds_alternative<OmittedArg>(value_))
        return true;
    const VARIANT* const* v = std::get_if<const VARIANT*>(&value_);
    if (v)
        return !*v || V_VT(*v) == VT_EMPTY;
    VariantHolder* const* holder = std::get_if<VariantHolder*>(&value_);
    return holder && V_VT((*holder)->get()) == VT_EMPTY;
}

bool AutomationArg::ToVariant(VARIANT* out) const {
    ::VariantInit(out);
    return std::visit(
        Overloaded{
            [&](OmittedArg) {
                V_VT(out) = VT_ERROR;
                V_ERROR(out) = DISP_E_PARAMNOTFOUND;
                return true;
            },
            [&](bool v) {
                V_VT(out) = VT_BOOL;
                V_BOOL(out) = v ? VARIANT_TRUE : VARIANT_FALSE;
                return true;
            },
            [&](OleDate v) {
                V_VT(out) = VT_DATE;
                V_DATE(out) = v.days;
                return true;
            },
            [&](const Text* v) { return StoreText(v->data(), v->size(), out); },
            [&](const char* v) { return StoreText(v ? v : "", v ? std::strlen(v) : 0, out); },
            [&](uint8_t v) {
                V_VT(out) = VT_UI1;
                V_UI1(out) = v;
                return true;
            },
            [&](int16_t v) {
                V_VT(out) = VT_I2;
                V_I2(out) = v;
                return true;
            },
            [&](int32_t v) {
                V_VT(out) = VT_I4;
                V_I4(out) = v;
                return true;
            },
            [&](int64_t v) {
                // Objects take 32-bit integers: only the low 32 bits travel.
                V_VT(out) = VT_I4;
                V_I4(out) = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
                return true;
            },
            [&](float v) {
                V_VT(out) = VT_R4;
                V_R4(out) = v;
                return true;
            },
            [&](double v) {
                V_VT(out) = VT_R8;
                V_R8(out) = v;
                return true;
            },
            [&](const VARIANT* v) {
                if (!v || V_VT(v) == VT_EMPTY)
                    return AutomationArg(kOmitted).ToVariant(out);
                return SUCCEEDED(::VariantCopy(out, const_cast<VARIANT*>(v)));
            },
            [&](const AutomationObject* v) {
                if (IUnknown* unknown = v->get()) {
                    unknown->AddRef();
                    V_VT(out) = VT_UNKNOWN;
                    V_UNKNOWN(out) = unknown;
                }
                return true;
            },
            // A reference passes the current value of the caller's variable.
            [&](auto* variable) { return AutomationArg(*variable).ToVariant(out); },
        },
        value_);
}

HRESULT AutomationArg::StoreIntoReference(const VARIANT& v) const {
    return std::visit(
        [&](auto value) -> HRESULT {
            using T = decltype(value);
            if constexpr (std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>>) {
                std::remove_pointer_t<T> converted{};
                const HRESULT hr = ConvertVariant(v, converted);
                if (SUCCEEDED(hr))
                    *value = std::move(converted);
                return hr;
            } else {
                return S_OK;
            }
        },
        value_);
}

HRESULT ConvertVariant(const VARIANT& v, Text& out) {
    VariantHolder changed;
    const HRESULT hr = ChangeTo(v, VT_BSTR, changed);
    if (SUCCEEDED(hr))
        out = BstrToText(V_BSTR(changed.get()));
    return hr;
}

namespace {

// The scalar kinds: change the type, then read the member of the union.
template <typename T, typename Read>
HRESULT ConvertScalar(const VARIANT& v, VARTYPE type, T& out, Read read) {
    VariantHolder changed;
    const HRESULT hr = ChangeTo(v, type, changed);
    if (SUCCEEDED(hr))
        out = read(*changed.get());
    return hr;
}

}  // namespace

HRESULT ConvertVariant(const VARIANT& v, double& out) {
    return ConvertScalar(v, VT_R8, out, [](const VARIANT& c) { return V_R8(&c); });
}
HRESULT ConvertVariant(const VARIANT& v, float& out) {
    return ConvertScalar(v, VT_R4, out, [](const VARIANT& c) { return V_R4(&c); });
}
HRESULT ConvertVariant(const VARIANT& v, bool& out) {
    return ConvertScalar(v, VT_BOOL, out, [](const VARIANT& c) { return V_BOOL(&c) != 0; });
}
HRESULT ConvertVariant(const VARIANT& v, uint8_t& out) {
    return ConvertScalar(v, VT_UI1, out, [](const VARIANT& c) { return V_UI1(&c); });
}
HRESULT ConvertVariant(const VARIANT& v, int16_t& out) {
    return ConvertScalar(v, VT_I2, out, [](const VARIANT& c) { return V_I2(&c); });
}
HRESULT ConvertVariant(const VARIANT& v, int32_t& out) {
    return ConvertScalar(v, VT_I4, out, [](const VARIANT& c) { return static_cast<int32_t>(V_I4(&c)); });
}
HRESULT ConvertVariant(const VARIANT& v, int64_t& out) {
    return ConvertScalar(v, VT_I4, out, [](const VARIANT& c) { return static_cast<int64_t>(V_I4(&c)); });
}
HRESULT ConvertVariant(const VARIANT& v, OleDate& out) {
    return ConvertScalar(v, VT_DATE, out, [](const VARIANT& c) { return OleDate{V_DATE(&c)}; });
}

HRESULT ConvertVariant(const VARIANT& v, AutomationObject& out) {
    // A null object pointer is "no object", not a failure; handled here so that no conversion
    // routine is ever asked to query a null pointer.
    const VARTYPE type = V_VT(&v);
    if ((type == VT_UNKNOWN || type == VT_DISPATCH) && !V_UNKNOWN(&v)) {
        out.Reset();
        return S_OK;
    }
    VariantHolder changed;
    const HRESULT hr = ChangeTo(v, VT_UNKNOWN, changed);
    if (SUCCEEDED(hr))
        out.Reset(ComPtr<IUnknown>::Share(V_UNKNOWN(changed.get())));
    return hr;
}

HRESULT ConvertVariant(const VARIANT& v, VariantHolder& out) {
    if (IsRecord(v))
        return DISP_E_TYPEMISMATCH;
    VariantHolder copy;
    const HRESULT hr = ::VariantCopy(copy.get(), const_cast<VARIANT*>(&v));
    if (SUCCEEDED(hr))
        out = std::move(copy);
    return hr;
}

bool AssignVariant(VariantHolder& holder, const AutomationArg& value) {
    ClearVariant(holder);
    VariantHolder stored;
    if (!value.ToVariant(stored.get()))
        return false;
    holder = std::move(stored);
    return true;
}

Text VariantToText(const VARIANT& v) {
    if (V_VT(&v) & VT_ARRAY)
        return {};
    if (V_VT(&v) == VT_BSTR)
        return BstrToText(V_BSTR(&v));
    Text text;
    ConvertVariant(v, text);
    return text;
}

void ClearVariant(VariantHolder& holder) {
    std::memset(holder.put(), 0, sizeof(VARIANT));
}
