#include "shell/clock_store_win.h"

#include <utility>

#include "clock/model_start.h"
#include "clock/settings_binding.h"
#include "shell/clock_timers_win.h"
#include "shell/product.h"

namespace tallyglass {

ClockStore::ClockStore(std::wstring storePath, std::wstring appPath, const std::function<void(const char*)>& step)
    : m_core(std::move(storePath), std::move(appPath)), m_product(static_cast<tagSoft*>(std::malloc(sizeof(tagSoft)))) {
    if (m_product) FillProductRecord(*m_product, ThisProduct(ProductVersion()));
    m_core.FindStore();
    if (step) step("settings file found");
    m_core.LoadStore();
    if (step) step("settings file read");
}

void ClockStore::ReadInto(CountdownModel& model) const {
    ReadSettings(model, m_core);
    const bool idleClock = model.m_idleClock != 0;  // Windows is asked only when the clock shows the time
    PrepareForStart(model, m_core.Show().segments, idleClock && ClockTimers::Uses12HourClock(),
                    idleClock ? ClockTimers::LocalSecondOfDay() : 0);
}

void ClockStore::Store(const CountdownModel& model) {
    if (m_stored) return;
    WriteSettings(model, m_core);
    m_stored = m_core.commitConfig();
}

void ClockStore::ShowAbout(HWND owner, const std::wstring& text) {
    m_core.uu(kAboutOperation, m_product.get(), text, owner);
}

}  // namespace tallyglass
