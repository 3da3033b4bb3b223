#pragma once
// Late-bound calls by member name, with no type library: GetIDsOfNames once per kind
// of object and member (PowerPoint's DISPIDs are fixed by its interfaces, so one
// answer serves every slide), then Invoke, each call within the apartment's bound.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "framework/com_win.h"
#include "slides/call_bound_win.h"
#include "slides/call_outcome.h"

namespace tallyglass {

class DispatchCaller {
public:
    DispatchCaller(CallBound& bound, const std::atomic<bool>& stop) : m_bound(bound), m_stop(stop) {}

    // A property, or with index > 0 a collection's Item(index). kind names the object's
    // type for the DISPID cache ("Slide", "Slides", ...).
    CallOutcome Get(IDispatch* object, const wchar_t* kind, const wchar_t* member, Variant& value, int32_t index = 0);
    // The same for a member whose value is an object.
    CallOutcome GetObject(IDispatch* object, const wchar_t* kind, const wchar_t* member, ComPtr<IDispatch>& result,
                          int32_t index = 0);
    CallOutcome GetNumber(IDispatch* object, const wchar_t* kind, const wchar_t* member, int32_t& number);
    // UTF-16 as given, at most maxUnits of it.
    CallOutcome GetText(IDispatch* object, const wchar_t* kind, const wchar_t* member, std::wstring& text,
                        size_t maxUnits);
    // Another PowerPoint: its DISPIDs are asked again.
    void Forget() { m_ids.clear(); }
    // Every GetIDsOfNames and Invoke made, for the figures.
    uint64_t Calls() const { return m_calls; }

private:
    CallOutcome IdOf(IDispatch* object, const wchar_t* kind, const wchar_t* member, DISPID& id);

    CallBound& m_bound;
    const std::atomic<bool>& m_stop;
    std::map<std::wstring, DISPID> m_ids;  // "kind.member"
    uint64_t m_calls = 0;
};

}  // namespace tallyglass
