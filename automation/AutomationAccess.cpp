#include "automation/AutomationAccess.h"

#include <oleauto.h>

#include <string>
#include <vector>

#include "automation/BstrText.h"

namespace {

thread_local int32_t tLastError = 0;

bool Fail(HRESULT hr) {
    tLastError = static_cast<int32_t>(FAILED(hr) ? hr : E_FAIL);
    return false;
}

// How one declared parameter takes its argument.
struct ParamShape {
    bool byReference = false;  // declared as a pointer to a value (or VT_BYREF)
    VARTYPE target = VT_VARIANT;  // what is passed, or pointed to when by reference
    bool output = false;  // PARAMFLAG_FOUT
};

// The member a name bound to, with what the invocation needs to know.
struct BoundMember {
    DISPID id = DISPID_UNKNOWN;
    WORD flags = 0;  // DISPATCH_*
    bool isVariable = false;
    std::vector<ParamShape> params;
    bool variableArgs = false;
    bool typed = false;  // false: reached without type information
};

bool IsInterfaceType(ITypeInfo* owner, const TYPEDESC& type) {
    if (type.vt == VT_DISPATCH || type.vt == VT_UNKNOWN)
        return true;
    if (type.vt != VT_USERDEFINED)
        return false;
    ComPtr<ITypeInfo> referenced;
    if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put())))
        return false;
    TYPEATTR* attr = nullptr;
    if (FAILED(referenced->GetTypeAttr(&attr)))
        return false;
    const TYPEKIND kind = attr->typekind;
    const bool isAlias = kind == TKIND_ALIAS;
    const TYPEDESC alias = attr->tdescAlias;
    referenced->ReleaseTypeAttr(attr);
    if (isAlias)
        return IsInterfaceType(referenced.get(), alias);
    return kind == TKIND_INTERFACE || kind == TKIND_DISPATCH || kind == TKIND_COCLASS;
}

// The VARIANT type a value of `type` is passed as: enums as VT_I4, aliases as what they name.
VARTYPE PlainType(ITypeInfo* owner, const TYPEDESC& type) {
    if (type.vt == VT_SAFEARRAY || type.vt == VT_CARRAY)
        return VT_ARRAY | VT_VARIANT;
    if (type.vt != VT_USERDEFINED)
        return type.vt;
    ComPtr<ITypeInfo> referenced;
    TYPEATTR* attr = nullptr;
    if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put())) || FAILED(referenced->GetTypeAttr(&attr)))
        return VT_VARIANT;
    VARTYPE plain = VT_VARIANT;
    if (attr->typekind == TKIND_ENUM)
        plain = VT_I4;
    else if (attr->typekind == TKIND_ALIAS)
        plain = PlainType(referenced.get(), attr->tdescAlias);
    else if (attr->typekind == TKIND_DISPATCH || attr->typekind == TKIND_INTERFACE)
        plain = VT_UNKNOWN;
    referenced->ReleaseTypeAttr(attr);
    return plain;
}

ParamShape ShapeOf(ITypeInfo* owner, const ELEMDESC& element) {
    ParamShape shape;
    shape.output = (element.paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0;
    const TYPEDESC& type = element.tdesc;
    if (type.vt == VT_PTR && type.lptdesc) {
        // A pointer to an interface is the object itself, passed by value.
        if (IsInterfaceType(owner, *type.lptdesc) && type.lptdesc->vt == VT_USERDEFINED) {
            shape.target = VT_UNKNOWN;
            return shape;
        }
        shape.byReference = true;
        shape.target = PlainType(owner, *type.lptdesc);
    } else if (type.vt & VT_BYREF) {
        shape.byReference = true;
        shape.target = type.vt & ~VT_BYREF;
    } else {
        shape.target = PlainType(owner, type);
    }
    return shape;
}

// True when a variable of this type is written by reference (an object, an interface or an array).
bool WrittenByReference(ITypeInfo* owner, const TYPEDESC& type) {
    if (type.vt == VT_SAFEARRAY || type.vt == VT_CARRAY || (type.vt & VT_ARRAY))
        return true;
    if (type.vt == VT_PTR && type.lptdesc)
        return IsInterfaceType(owner, *type.lptdesc);
    return IsInterfaceType(owner, type);
}

// Owns what ITypeComp::Bind hands out.
class BindResult {
public:
    ~BindResult() {
        if (info && kind == DESCKIND_FUNCDESC && ptr.lpfuncdesc)
            info->ReleaseFuncDesc(ptr.lpfuncdesc);
        else if (info && kind == DESCKIND_VARDESC && ptr.lpvardesc)
            info->ReleaseVarDesc(ptr.lpvardesc);
        else if (kind == DESCKIND_TYPECOMP && ptr.lptcomp)
            ptr.lptcomp->Release();
    }
    ComPtr<ITypeInfo> info;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR ptr{};
};

// The invoke kinds a name may bind to, in the order they are tried.
std::vector<WORD> InvokeKindsFor(AccessKind kind) {
    switch (kind) {
        case AccessKind::Read:
            return {INVOKE_PROPERTYGET, INVOKE_FUNC};
        case AccessKind::Write:
            return {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
        case AccessKind::Call:
            return {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
    }
    return {};
}

ULONG NameHash(ITypeInfo* info, LCID lcid, const std::wstring& name) {
    SYSKIND sys = SYS_WIN64;
    ComPtr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(info->GetContainingTypeLib(library.put(), &index))) {
        TLIBATTR* attr = nullptr;
        if (SUCCEEDED(library->GetLibAttr(&attr))) {
            sys = attr->syskind;
            library->ReleaseTLibAttr(attr);
        }
    }
    return ::LHashValOfNameSys(sys, lcid, name.c_str());
}

// Binds `name` through the type information. Fails with DISP_E_UNKNOWNNAME when nothing fits.
HRESULT BindTyped(ITypeInfo* info, LCID lcid, std::wstring name, AccessKind kind, const AutomationArg* value,
                  BoundMember& member) {
    ComPtr<ITypeComp> comp;
    HRESULT hr = info->GetTypeComp(comp.put());
    if (FAILED(hr) || !comp)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    const ULONG hash = NameHash(info, lcid, name);
    for (WORD invokeKind : InvokeKindsFor(kind)) {
        BindResult bound;
        if (FAILED(comp->Bind(name.data(), hash, invokeKind, bound.info.put(), &bound.kind, &bound.ptr)))
            continue;
        if (bound.kind == DESCKIND_FUNCDESC && bound.ptr.lpfuncdesc) {
            const FUNCDESC& func = *bound.ptr.lpfuncdesc;
            member.id = func.memid;
            member.flags = static_cast<WORD>(func.invkind);
            member.variableArgs = func.cParamsOpt == -1;
            for (SHORT i = 0; i < func.cParams; ++i) {
                const ELEMDESC& element = func.lprgelemdescParam[i];
                // The return slot and the locale slot of a vtable description are not arguments.
                if (element.paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID))
                    continue;
                member.params.push_back(ShapeOf(bound.info.get(), element));
            }
            member.typed = true;
            return S_OK;
        }
        if (bound.kind == DESCKIND_VARDESC && bound.ptr.lpvardesc) {
            const VARDESC& var = *bound.ptr.lpvardesc;
            member.id = var.memid;
            member.isVariable = true;
            member.typed = true;
            if (kind == AccessKind::Write) {
                const bool byRef = WrittenByReference(bound.info.get(), var.elemdescVar.tdesc);
                member.flags = byRef ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
                member.params.push_back(ParamShape{});
            } else {
                member.flags = DISPATCH_PROPERTYGET;
            }
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

// Binds `name` without type information: the object's own name lookup and the access's flags.
HRESULT BindUntyped(IDispatch* dispatch, LCID lcid, std::wstring name, AccessKind kind, const AutomationArg* value,
                    BoundMember& member) {
    LPOLESTR names[1] = {name.data()};
    const HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, lcid, &member.id);
    if (FAILED(hr))
        return hr;
    member.variableArgs = true;  // the object checks its own argument count
    switch (kind) {
        case AccessKind::Read:
            member.flags = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
            break;
        case AccessKind::Call:
            member.flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
            break;
        case AccessKind::Write: {
            VariantHolder written;
            if (value && !value->ToVariant(written.get()))
                return E_OUTOFMEMORY;
            const VARTYPE type = V_VT(written.get());
            member.flags = type == VT_UNKNOWN || type == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
            break;
        }
    }
    return S_OK;
}

// Converts one argument into `slot` and fills `passed`, the VARIANT Invoke receives: the value
// itself, or a reference into `slot` when the parameter is declared by reference.
HRESULT PrepareArgument(const AutomationArg& arg, const ParamShape* shape, VariantHolder& slot, VARIANT& passed) {
    if (!arg.ToVariant(slot.get()))
        return E_OUTOFMEMORY;
    VARIANT* value = slot.get();
    const bool omitted = V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND;
    if (!shape || !shape->byReference || (omitted && shape->target != VT_VARIANT)) {
        passed = *value;  // shallow: `slot` keeps ownership
        return S_OK;
    }
    ::VariantInit(&passed);
    if (shape->target == VT_VARIANT || (shape->target & VT_ARRAY)) {
        V_VT(&passed) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&passed) = value;
        return S_OK;
    }
    const HRESULT hr = ::VariantChangeType(value, value, 0, shape->target);
    if (FAILED(hr))
        return hr;
    V_VT(&passed) = VT_BYREF | shape->target;
    V_BYREF(&passed) = &V_I8(value);  // every member of the union starts here
    return S_OK;
}

}  // namespace

int32_t LastAutomationError() {
    return tLastError;
}

namespace automation_detail {

bool AccessMember(const AutomationObject& object,
                  const Text& name,
                  AccessKind kind,
                  const AutomationArg* value,
                  std::initializer_list<AutomationArg> args,
                  const ResultSink* sink) {
    if (!object.get())
        return Fail(E_POINTER);
    ComPtr<IDispatch> dispatch;
    if (FAILED(object.get()->QueryInterface(IID_IDispatch, dispatch.putVoid())) || !dispatch)
        return Fail(E_NOINTERFACE);
    const std::wstring wideName = TextToWide(name);
    if (wideName.empty())
        return Fail(DISP_E_UNKNOWNNAME);

    const LCID lcid = ::GetUserDefaultLCID();
    BoundMember member;
    ComPtr<ITypeInfo> info;
    HRESULT hr = dispatch->GetTypeInfo(0, lcid, info.put());
    if (SUCCEEDED(hr) && info)
        hr = BindTyped(info.get(), lcid, wideName, kind, value, member);
    else
        hr = BindUntyped(dispatch.get(), lcid, wideName, kind, value, member);
    if (FAILED(hr))
        return Fail(hr);

    // The positional argument list: a property write passes its value last (as the named
    // argument), a write that lands on a method passes it first, as an ordinary argument.
    const bool isPut = (member.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    std::vector<const AutomationArg*> ordered;
    if (value && !isPut)
        ordered.push_back(value);
    for (const AutomationArg& arg : args)
        ordered.push_back(&arg);
    // Omitted arguments at the end are not passed at all (a written value always is).
    size_t givenCount = ordered.size();
    while (givenCount > 0 && ordered[givenCount - 1] != value && ordered[givenCount - 1]->IsOmitted())
        --givenCount;
    ordered.resize(givenCount);
    if (value && isPut)
        ordered.push_back(value);

    if (member.isVariable && kind != AccessKind::Write && !ordered.empty())
        return Fail(DISP_E_BADPARAMCOUNT);  // a variable is read without arguments
    if (member.typed && ordered.size() > member.params.size() && !member.variableArgs)
        return Fail(DISP_E_BADPARAMCOUNT);

    const size_t count = ordered.size();
    std::vector<VariantHolder> slots(count);  // own the converted values; never reallocated
    std::vector<VARIANT> passed(count);       // Invoke's view, last argument first
    std::vector<const ParamShape*> shapes(count, nullptr);
    for (size_t i = 0; i < count; ++i) {
        if (member.typed && !member.params.empty()) {
            if (isPut && i == count - 1)
                shapes[i] = &member.params.back();  // the value goes to the last declared parameter
            else
                shapes[i] = &member.params[i < member.params.size() ? i : member.params.size() - 1];
        }
        hr = PrepareArgument(*ordered[i], shapes[i], slots[i], passed[count - 1 - i]);
        if (FAILED(hr))
            return Fail(hr);
    }

    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = count ? passed.data() : nullptr;
    params.cArgs = static_cast<UINT>(count);
    if (isPut) {
        params.rgdispidNamedArgs = &namedPut;
        params.cNamedArgs = 1;
    }
    VariantHolder result;
    hr = dispatch->Invoke(member.id, IID_NULL, lcid, member.flags, &params, isPut ? nullptr : result.get(), nullptr,
                          nullptr);
    if (FAILED(hr))
        return Fail(hr);

    // Output parameters write back into the caller's variables.
    for (size_t i = 0; i < count; ++i) {
        if (ordered[i]->IsReference() && shapes[i] && shapes[i]->byReference && shapes[i]->output)
            ordered[i]->StoreIntoReference(*slots[i].get());
    }
    if (sink) {
        hr = sink->convert(*result.get(), sink->out);
        if (FAILED(hr))
            return Fail(hr);
    }
    tLastError = 0;
    return true;
}

}  // namespace automation_detail
