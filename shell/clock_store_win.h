#pragma once
// The clock's settings file through the core services: found and read as the
// clock opens, written once as it closes.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "clock/countdown_model.h"
#include "core/core_win.h"

namespace tallyglass {

class ClockStore {
public:
    // step: told as each step of reading ends (the start-up's figures).
    ClockStore(std::wstring storePath, std::wstring appPath, const std::function<void(const char*)>& step);

    CCore& Core() { return m_core; }
    const CCore& Core() const { return m_core; }

    // The settings into the model, made ready for the first frame.
    void ReadInto(CountdownModel& model) const;
    // The writable keys, once; a save that failed (at session end, say) is tried
    // again at the next call. The model's place must be current when it is stored.
    void Store(const CountdownModel& model);
    void ShowAbout(HWND owner, const std::wstring& text);

private:
    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };

    CCore m_core;
    std::unique_ptr<tagSoft, FreeDeleter> m_product;  // the about box's record, as the core services take it
    bool m_stored = false;
};

}  // namespace tallyglass
