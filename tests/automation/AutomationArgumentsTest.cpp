// How arguments reach an object and how output parameters come back. No object of the system
// reports what it received, so the object under test here is a small automation object of the
// test's own: an IDispatch whose type information is built at run time, which records every
// invocation and otherwise behaves like any dispatch object.

#include <gtest/gtest.h>

#include <vector>

#include "automation/AutomationAccess.h"

namespace {

enum ProbeId : DISPID { kEcho = 1, kBump, kPeek, kMany, kNothing, kLevel, kNote, kChild };

// One recorded invocation: the flags, the arguments in call order (copies), the named ids.
struct Received {
    WORD flags = 0;
    std::vector<VariantHolder> args;
    std::vector<DISPID> named;
};

class TypeInfoBuilder {
public:
    explicit TypeInfoBuilder(ICreateTypeInfo* info) : info_(info) {}

    void Function(DISPID id, const wchar_t* name, INVOKEKIND kind, VARTYPE result, std::vector<ELEMDESC> params,
                  std::vector<const wchar_t*> paramNames, SHORT optional = 0) {
        FUNCDESC func{};
        func.memid = id;
        func.funckind = FUNC_DISPATCH;
        func.invkind = kind;
        func.callconv = CC_STDCALL;
        func.cParams = static_cast<SHORT>(params.size());
        func.cParamsOpt = optional;
        func.lprgelemdescParam = params.empty() ? nullptr : params.data();
        func.elemdescFunc.tdesc.vt = result;
        ASSERT_HRESULT_SUCCEEDED(info_->AddFuncDesc(index_, &func));
        std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
        // A property write names only its index parameters; its value stays unnamed.
        for (const wchar_t* p : paramNames)
            names.push_back(const_cast<LPOLESTR>(p));
        ASSERT_HRESULT_SUCCEEDED(info_->SetFuncAndParamNames(index_, names.data(), static_cast<UINT>(names.size())));
        ++index_;
    }

    void Variable(DISPID id, const wchar_t* name, VARTYPE type) {
        VARDESC var{};
        var.memid = id;
        var.varkind = VAR_DISPATCH;
        var.elemdescVar.tdesc.vt = type;
        ASSERT_HRESULT_SUCCEEDED(info_->AddVarDesc(varIndex_, &var));
        ASSERT_HRESULT_SUCCEEDED(info_->SetVarName(varIndex_, const_cast<LPOLESTR>(name)));
        ++varIndex_;
    }

private:
    ICreateTypeInfo* info_;
    UINT index_ = 0;
    UINT varIndex_ = 0;
};

ELEMDESC Param(VARTYPE type, USHORT flags = PARAMFLAG_FIN) {
    ELEMDESC e{};
    e.tdesc.vt = type;
    e.paramdesc.wParamFlags = flags;
    return e;
}

ELEMDESC PointerParam(TYPEDESC* pointee, USHORT flags) {
    ELEMDESC e{};
    e.tdesc.vt = VT_PTR;
    e.tdesc.lptdesc = pointee;
    e.paramdesc.wParamFlags = flags;
    return e;
}

ComPtr<ITypeInfo> BuildProbeTypeInfo() {
    ComPtr<ICreateTypeLib2> library;
    if (FAILED(::CreateTypeLib2(SYS_WIN64, const_cast<LPOLESTR>(L"probe.tlb"), library.put())))
        return {};
    ComPtr<ICreateTypeInfo> created;
    if (FAILED(library->CreateTypeInfo(const_cast<LPOLESTR>(L"Probe"), TKIND_DISPATCH, created.put())))
        return {};
    static TYPEDESC i4{{}, VT_I4}, bstr{{}, VT_BSTR}, variant{{}, VT_VARIANT};
    static TYPEDESC variantArray{};
    variantArray.vt = VT_SAFEARRAY;
    variantArray.lptdesc = &variant;
    constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    constexpr USHORT kOptional = PARAMFLAG_FIN | PARAMFLAG_FOPT;
    TypeInfoBuilder b(created.get());
    b.Function(kEcho, L"Echo", INVOKE_FUNC, VT_EMPTY,
               {Param(VT_VARIANT, kOptional), Param(VT_VARIANT, kOptional), Param(VT_VARIANT, kOptional)},
               {L"a", L"b", L"c"});
    b.Function(kBump, L"Bump", INVOKE_FUNC, VT_EMPTY,
               {PointerParam(&i4, kInOut), PointerParam(&bstr, kInOut), PointerParam(&variant, kInOut)},
               {L"n", L"s", L"v"});
    b.Function(kPeek, L"Peek", INVOKE_FUNC, VT_EMPTY, {PointerParam(&i4, PARAMFLAG_FIN)}, {L"n"});
    ELEMDESC rest{};
    rest.tdesc = variantArray;
    rest.paramdesc.wParamFlags = PARAMFLAG_FIN;
    b.Function(kMany, L"Many", INVOKE_FUNC, VT_I4, {Param(VT_BSTR), rest}, {L"first", L"rest"}, -1);
    b.Function(kNothing, L"Nothing", INVOKE_FUNC, VT_EMPTY, {}, {});
    b.Function(kLevel, L"Level", INVOKE_PROPERTYGET, VT_I4, {}, {});
    b.Function(kLevel, L"Level", INVOKE_PROPERTYPUT, VT_EMPTY, {Param(VT_I4)}, {});
    b.Variable(kNote, L"Note", VT_BSTR);
    b.Variable(kChild, L"Child", VT_DISPATCH);
    if (FAILED(created->LayOut()))
        return {};
    return created.As<ITypeInfo>();
}

class Probe : public IDispatch {
public:
    explicit Probe(ComPtr<ITypeInfo> info) : info_(std::move(info)) {}

    std::vector<Received> calls;
    int32_t level = 0;
    Text note;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack: reference counting only has to be harmless.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        *out = ComPtr<ITypeInfo>::Share(info_.get()).release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return ::DispGetIDsOfNames(info_.get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        Received r;
        r.flags = flags;
        for (UINT i = params->cArgs; i-- > 0;) {
            VariantHolder copy;
            ::VariantCopy(copy.get(), &params->rgvarg[i]);
            r.args.push_back(std::move(copy));
        }
        r.named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
        calls.push_back(std::move(r));
        VARIANT* a = params->rgvarg;
        const UINT n = params->cArgs;
        switch (id) {
            case kBump:  // (n, s, v): n + 1, s + "!", v := 2.5
                if (n != 3 || V_VT(&a[2]) != (VT_BYREF | VT_I4) || V_VT(&a[1]) != (VT_BYREF | VT_BSTR) ||
                    V_VT(&a[0]) != (VT_BYREF | VT_VARIANT))
                    return DISP_E_TYPEMISMATCH;
                ++*V_I4REF(&a[2]);
                {
                    std::wstring s = *V_BSTRREF(&a[1]) ? *V_BSTRREF(&a[1]) : L"";
                    ::SysFreeString(*V_BSTRREF(&a[1]));
                    *V_BSTRREF(&a[1]) = ::SysAllocString((s + L"!").c_str());
                }
                ::VariantClear(V_VARIANTREF(&a[0]));
                V_VT(V_VARIANTREF(&a[0])) = VT_R8;
                V_R8(V_VARIANTREF(&a[0])) = 2.5;
                return S_OK;
            case kPeek:
                if (n != 1 || V_VT(&a[0]) != (VT_BYREF | VT_I4))
                    return DISP_E_TYPEMISMATCH;
                *V_I4REF(&a[0]) = 99;
                return S_OK;
            case kMany:
                V_VT(result) = VT_I4;
                V_I4(result) = static_cast<LONG>(n);
                return S_OK;
            case kLevel:
                if (flags & DISPATCH_PROPERTYPUT) {
                    level = V_I4(&a[0]);
                    return S_OK;
                }
                V_VT(result) = VT_I4;
                V_I4(result) = level;
                return S_OK;
            case kNote:
                if (flags & DISPATCH_PROPERTYPUT) {
                    note = VariantToText(a[0]);
                    return S_OK;
                }
                V_VT(result) = VT_BSTR;
                V_BSTR(result) = ::SysAllocString(L"note");
                return S_OK;
            default:
                return S_OK;  // Echo, Nothing, Child: only recorded
        }
    }

    AutomationObject Holder() { return AutomationObject(ComPtr<IUnknown>::Share(static_cast<IDispatch*>(this))); }

private:
    ComPtr<ITypeInfo> info_;
};

class AutomationArgumentsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(probe_.Holder().get()) << "type information could not be built"; }
    const Received& Last() { return probe_.calls.back(); }

    ScopedComInit com_;
    Probe probe_{BuildProbeTypeInfo()};
    AutomationObject object_ = probe_.Holder();
};

TEST_F(AutomationArgumentsTest, EachArgumentKindArrivesAsItsVariant) {
    VariantHolder number;
    AssignVariant(number, 7);
    const Text text = "\xD6\xD0x";  // one double-byte character, then x
    struct Case {
        const char* name;
        AutomationArg arg;
        VARTYPE type;
        const char* asText;
    };
    const Case cases[] = {
        {"true", true, VT_BOOL, "-1"},
        {"false", false, VT_BOOL, "0"},
        {"text", text, VT_BSTR, "\xD6\xD0x"},
        {"literal", "lit", VT_BSTR, "lit"},
        {"byte", uint8_t{200}, VT_UI1, "200"},
        {"16-bit", int16_t{-3}, VT_I2, "-3"},
        {"32-bit", int32_t{-70000}, VT_I4, "-70000"},
        {"64-bit keeps its low 32 bits", int64_t{0x100000005}, VT_I4, "5"},
        {"64-bit of 2^32", int64_t{1} << 32, VT_I4, "0"},
        {"float", 0.5f, VT_R4, "0.5"},
        {"double", 2.25, VT_R8, "2.25"},
        {"VARIANT copy", number, VT_I4, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallMethod<Text>(object_, "Echo", c.arg);
        ASSERT_EQ(LastAutomationError(), 0);
        ASSERT_EQ(Last().args.size(), 1u);
        EXPECT_EQ(V_VT(Last().args[0].get()), c.type);
        EXPECT_EQ(VariantToText(Last().args[0]), c.asText);
    }
    CallMethod<Text>(object_, "Echo", OleDate{2.5});
    EXPECT_EQ(V_VT(Last().args[0].get()), VT_DATE);
    EXPECT_EQ(V_DATE(Last().args[0].get()), 2.5);
}

TEST_F(AutomationArgumentsTest, OmittedArgumentsAreDroppedAtTheEndAndMarkedInside) {
    const VariantHolder emptyVariant;
    const std::optional<int32_t> none;
    CallMethod<Text>(object_, "Echo", kOmitted, 5);
    ASSERT_EQ(Last().args.size(), 2u);
    EXPECT_EQ(V_VT(Last().args[0].get()), VT_ERROR);
    EXPECT_EQ(V_ERROR(Last().args[0].get()), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(V_I4(Last().args[1].get()), 5);

    CallMethod<Text>(object_, "Echo", emptyVariant, none, 6);
    ASSERT_EQ(Last().args.size(), 3u);
    EXPECT_EQ(V_ERROR(Last().args[0].get()), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(V_ERROR(Last().args[1].get()), DISP_E_PARAMNOTFOUND);

    CallMethod<Text>(object_, "Echo", 1, kOmitted, emptyVariant);
    EXPECT_EQ(Last().args.size(), 1u);
    EXPECT_EQ(LastAutomationError(), 0);
}

TEST_F(AutomationArgumentsTest, OutputParametersWriteBackIntoReferencedVariables) {
    int32_t n = 41;
    Text s = "a";
    VariantHolder v;
    AssignVariant(v, "before");
    CallMethod<Text>(object_, "Bump", ByRef(n), ByRef(s), ByRef(v));
    ASSERT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(n, 42);
    EXPECT_EQ(s, "a!");
    EXPECT_EQ(V_VT(v.get()), VT_R8);
    EXPECT_EQ(V_R8(v.get()), 2.5);

    // A variable of another kind is changed to the declared type on the way in and back on the way out.
    double d = 1.0;
    CallMethod<Text>(object_, "Bump", ByRef(d), 5, v);
    ASSERT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(d, 2.0);

    // Passed by value, the same variables stay as they were although the object wrote through its references.
    n = 41;
    CallMethod<Text>(object_, "Bump", n, s, v);
    ASSERT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(n, 41);
    EXPECT_EQ(s, "a!");
}

TEST_F(AutomationArgumentsTest, InputOnlyReferenceParameterDoesNotWriteBack) {
    int32_t n = 1;
    CallMethod<Text>(object_, "Peek", ByRef(n));
    ASSERT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(n, 1);
}

TEST_F(AutomationArgumentsTest, ArgumentCountRules) {
    EXPECT_EQ(CallMethod<int32_t>(object_, "Many", "a", 1, 2.5, true), 4);
    EXPECT_EQ(LastAutomationError(), 0);
    const size_t callsBefore = probe_.calls.size();
    CallMethod<Text>(object_, "Echo", 1, 2, 3, 4);
    EXPECT_EQ(LastAutomationError(), DISP_E_BADPARAMCOUNT);
    CallMethod<Text>(object_, "Nothing", 1);
    EXPECT_LT(LastAutomationError(), 0);
    EXPECT_EQ(probe_.calls.size(), callsBefore);  // refused before the object was asked
    // Trailing omitted arguments do not count against the declared parameters.
    CallMethod<Text>(object_, "Nothing", kOmitted, kOmitted);
    EXPECT_EQ(LastAutomationError(), 0);
}

TEST_F(AutomationArgumentsTest, MethodReturningNothingReadsAsEmptySuccess) {
    EXPECT_EQ(CallMethod<Text>(object_, "Nothing"), "");
    EXPECT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(CallMethod<double>(object_, "Nothing"), 0.0);
    EXPECT_EQ(LastAutomationError(), 0);
    EXPECT_EQ(V_VT(CallMethod<VariantHolder>(object_, "Nothing").get()), VT_EMPTY);
    EXPECT_EQ(LastAutomationError(), 0);
}

TEST_F(AutomationArgumentsTest, PropertiesAndVariablesBindWithTheirInvokeKinds) {
    EXPECT_TRUE(SetProperty(object_, "Level", 3));
    EXPECT_EQ(Last().flags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(Last().named.size(), 1u);
    EXPECT_EQ(Last().named[0], DISPID_PROPERTYPUT);
    EXPECT_EQ(GetProperty<int32_t>(object_, "Level"), 3);
    EXPECT_EQ(Last().flags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(CallMethod<int32_t>(object_, "Level"), 3);  // a call falls back to the property read

    EXPECT_TRUE(SetProperty(object_, "Note", "memo"));
    EXPECT_EQ(Last().flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(probe_.note, "memo");
    EXPECT_EQ(GetProperty<Text>(object_, "Note"), "note");
    EXPECT_EQ(Last().flags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(GetProperty<Text>(object_, "Note", 1), "");  // a variable takes no arguments
    EXPECT_LT(LastAutomationError(), 0);

    // An object-typed variable is written by reference.
    EXPECT_TRUE(SetProperty(object_, "Child", object_));
    EXPECT_EQ(Last().flags, DISPATCH_PROPERTYPUTREF);
    ASSERT_EQ(Last().args.size(), 1u);
    EXPECT_EQ(V_VT(Last().args[0].get()), VT_UNKNOWN);

    // A write to a method passes the value as an ordinary argument.
    EXPECT_TRUE(SetProperty(object_, "Echo", 8, 9));
    EXPECT_EQ(Last().flags, DISPATCH_METHOD);
    EXPECT_TRUE(Last().named.empty());
    ASSERT_EQ(Last().args.size(), 2u);
    EXPECT_EQ(V_I4(Last().args[0].get()), 8);
}

TEST(VariantHolderTest, AssignTextAndClear) {
    VariantHolder holder;
    ASSERT_TRUE(AssignVariant(holder, 12));
    EXPECT_EQ(VariantToText(holder), "12");
    ASSERT_TRUE(AssignVariant(holder, "\xD6\xD0"));
    EXPECT_EQ(V_VT(holder.get()), VT_BSTR);
    EXPECT_EQ(VariantToText(holder), "\xD6\xD0");
    AutomationObject empty;
    ASSERT_TRUE(AssignVariant(holder, empty));
    EXPECT_EQ(V_VT(holder.get()), VT_EMPTY);
    ASSERT_TRUE(AssignVariant(holder, true));
    EXPECT_EQ(VariantToText(holder), "-1");
    ClearVariant(holder);
    EXPECT_EQ(V_VT(holder.get()), VT_EMPTY);
    EXPECT_EQ(VariantToText(holder), "");

    SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, 2);
    V_VT(holder.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(holder.get()) = array;
    EXPECT_EQ(VariantToText(holder), "");  // arrays have no text form
}

}  // namespace
