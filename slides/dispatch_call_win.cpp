#include "slides/dispatch_call_win.h"

#include <algorithm>

namespace tallyglass {

namespace {
// Invoke's exception details, whose strings are the caller's to free.
class ExceptionInfo {
public:
    ExceptionInfo() = default;
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    ~ExceptionInfo() {
        SysFreeString(m_info.bstrSource);
        SysFreeString(m_info.bstrDescription);
        SysFreeString(m_info.bstrHelpFile);
    }
    EXCEPINFO* get() { return &m_info; }

private:
    EXCEPINFO m_info{};
};
}  // namespace

CallOutcome DispatchCaller::IdOf(IDispatch* object, const wchar_t* kind, const wchar_t* member, DISPID& id) {
    const std::wstring key = std::wstring(kind) + L"." + member;
    if (const auto found = m_ids.find(key); found != m_ids.end()) {
        id = found->second;
        return CallOutcome::Done;
    }
    if (m_stop) return CallOutcome::Busy;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT result;
    {
        CallBound::Call call(m_bound);
        ++m_calls;
        result = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    }
    const CallOutcome outcome = OutcomeOf(result);
    if (outcome == CallOutcome::Done) m_ids.emplace(key, id);
    return outcome;
}

CallOutcome DispatchCaller::Get(IDispatch* object, const wchar_t* kind, const wchar_t* member, Variant& value,
                                int32_t index) {
    DISPID id = DISPID_UNKNOWN;
    if (const CallOutcome named = IdOf(object, kind, member, id); named != CallOutcome::Done) return named;
    if (m_stop) return CallOutcome::Busy;
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = index;
    DISPPARAMS parameters{index > 0 ? &argument : nullptr, nullptr, index > 0 ? 1u : 0u, 0};
    ExceptionInfo exception;
    HRESULT result;
    {
        CallBound::Call call(m_bound);
        ++m_calls;
        result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters,
                                value.Receive(), exception.get(), nullptr);
    }
    // A member this object lacks after all: asked by name again next time.
    if (result == DISP_E_MEMBERNOTFOUND) m_ids.erase(std::wstring(kind) + L"." + member);
    return OutcomeOf(result);
}

CallOutcome DispatchCaller::GetObject(IDispatch* object, const wchar_t* kind, const wchar_t* member,
                                      ComPtr<IDispatch>& result, int32_t index) {
    Variant value;
    const CallOutcome outcome = Get(object, kind, member, value, index);
    if (outcome != CallOutcome::Done) return outcome;
    if (value.get().vt != VT_DISPATCH || !value.get().pdispVal) return CallOutcome::Failed;
    value.get().pdispVal->AddRef();
    result = ComPtr<IDispatch>(value.get().pdispVal);
    return CallOutcome::Done;
}

CallOutcome DispatchCaller::GetNumber(IDispatch* object, const wchar_t* kind, const wchar_t* member, int32_t& number) {
    Variant value;
    const CallOutcome outcome = Get(object, kind, member, value);
    if (outcome != CallOutcome::Done) return outcome;
    Variant converted;
    // MinGW declares the source non-const; it is only read.
    if (FAILED(VariantChangeType(converted.Receive(), const_cast<VARIANT*>(&value.get()), 0, VT_I4)))
        return CallOutcome::Failed;
    number = converted.get().lVal;
    return CallOutcome::Done;
}

CallOutcome DispatchCaller::GetText(IDispatch* object, const wchar_t* kind, const wchar_t* member, std::wstring& text,
                                    size_t maxUnits) {
    Variant value;
    const CallOutcome outcome = Get(object, kind, member, value);
    if (outcome != CallOutcome::Done) return outcome;
    if (value.get().vt != VT_BSTR) return CallOutcome::Failed;
    const BSTR bstr = value.get().bstrVal;
    size_t units = std::min<size_t>(SysStringLen(bstr), maxUnits);
    // Not half of a surrogate pair.
    if (units > 0 && units < SysStringLen(bstr) && IS_HIGH_SURROGATE(bstr[units - 1])) --units;
    text.assign(bstr ? bstr : L"", units);
    return CallOutcome::Done;
}

}  // namespace tallyglass
