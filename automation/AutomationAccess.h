#pragma once
// Late-bound member access on an AutomationObject: read a property, write a property, call a
// method, each by name at run time, with the result converted to the kind the caller asks for.
//
//     ScopedComInit com;                                    // the caller's business, per thread
//     AutomationObject engine;
//     if (!CreateObject(engine, "MSScriptControl.ScriptControl"))
//         return {};
//     SetProperty(engine, "Language", "JScript");
//     CallMethod<double>(engine, "AddCode", "function f(n) { return n * 2; }");
//     Text doubled = CallMethod<Text>(engine, "Eval", "f(21)");           // "42"
//     AutomationObject folder = CallMethod<AutomationObject>(shell, "BrowseForFolder", 0, title, 0x50, 0);
//     Text path = GetProperty<Text>(CallMethod<AutomationObject>(folder, "Self"), "Path");
//     int32_t out = 5;
//     CallMethod<VariantHolder>(object, "Bump", ByRef(out));                // an [out] parameter writes `out`
//
// Result kinds: Text, double, AutomationObject, VariantHolder (a fresh copy the caller owns), and
// also bool, int32_t, int16_t, uint8_t, float, OleDate, int64_t. Argument kinds: AutomationValue.h.
//
// Every access resolves the name anew through the object's type information (GetTypeInfo,
// GetTypeComp, Bind), trying these member kinds in order:
//   read: property get, method · write: property put, property put-by-reference, method ·
//   call: method, property get, property put, property put-by-reference.
// An object that offers IDispatch but no type information (the match objects of the regular
// expression engine, for one) is reached through IDispatch::GetIDsOfNames instead; there the
// argument count and by-reference parameters are the object's own business.
//
// Failure is silent: the access returns the empty value of its kind (empty text, 0, false, an
// empty holder, a VT_EMPTY VARIANT) and leaves a negative code in LastAutomationError. That
// happens when the holder is empty, the object offers no IDispatch, the name binds to nothing of
// the access's kinds, there are more arguments than the member takes (unless it takes a variable
// list), Invoke fails, or the result cannot be converted (the member then did run). A chain of
// accesses that starts with a failed one therefore ends in an empty value.
//
// Threads: the object's thread only (COM initialised there). Nothing is cached between accesses.

#include <cstdint>
#include <initializer_list>

#include "automation/AutomationObject.h"
#include "automation/AutomationValue.h"
#include "common/portable/Text.h"

// The outcome of this thread's last member access: 0 on success, a negative HRESULT on failure.
// Starts at 0 on every thread; other threads' accesses never change it.
int32_t LastAutomationError();

enum class AccessKind { Read, Write, Call };

namespace automation_detail {

// Where a successful access puts its converted result.
struct ResultSink {
    void* out;
    HRESULT (*convert)(const VARIANT& v, void* out);
};

template <typename R>
ResultSink SinkFor(R& out) {
    return {&out, [](const VARIANT& v, void* p) { return ConvertVariant(v, *static_cast<R*>(p)); }};
}

// The one access routine. `value` is the written value (Write only); `sink` may be null.
// Sets LastAutomationError; true on success.
bool AccessMember(const AutomationObject& object,
                  const Text& name,
                  AccessKind kind,
                  const AutomationArg* value,
                  std::initializer_list<AutomationArg> args,
                  const ResultSink* sink);

template <typename R>
R Access(const AutomationObject& object, const Text& name, AccessKind kind, std::initializer_list<AutomationArg> args) {
    R result{};
    const ResultSink sink = SinkFor(result);
    if (!AccessMember(object, name, kind, nullptr, args, &sink))
        return R{};
    return result;
}

}  // namespace automation_detail

// Reads property `name` (or calls the method of that name, e.g. an indexed item) with `args`.
template <typename R, typename... A>
R GetProperty(const AutomationObject& object, const Text& name, const A&... args) {
    return automation_detail::Access<R>(object, name, AccessKind::Read, {AutomationArg(args)...});
}

// Calls method `name` (or reads/writes the property of that name) with `args`.
template <typename R, typename... A>
R CallMethod(const AutomationObject& object, const Text& name, const A&... args) {
    return automation_detail::Access<R>(object, name, AccessKind::Call, {AutomationArg(args)...});
}

// Writes `value` to property `name`; `args` are further arguments (an index). True when the access
// succeeded, that is when LastAutomationError is 0 afterwards.
template <typename V, typename... A>
bool SetProperty(const AutomationObject& object, const Text& name, const V& value, const A&... args) {
    const AutomationArg written(value);
    automation_detail::AccessMember(object, name, AccessKind::Write, &written, {AutomationArg(args)...}, nullptr);
    return LastAutomationError() == 0;
}
