#include "shell/clock_parts_win.h"

#include "clock/clock_snapshot.h"
#include "clock/message_flash.h"
#include "clock/schedule.h"
#include "clock/settings_binding.h"
#include "clock/slide_follow.h"
#include "framework/resource_language_win.h"
#include "framework/text_win.h"
#include "framework/window_style_win.h"
#include "render/screen_win.h"
#include "shell/about_text_win.h"
#include "shell/minute_timer_win.h"
#include "shell/product.h"
#include "shell/remote_start_win.h"
#include "shell/window_messages_win.h"
#include "store/store_files.h"

namespace tallyglass {

namespace {
void DefaultFatalError() {
    MessageBoxW(nullptr, L"User32.dll ERROR!", Widen(kWindowTitle).c_str(), MB_OK | MB_ICONERROR);
    std::exit(EXIT_FAILURE);
}
}  // namespace

bool ClockParts::Create() {
    view.emplace(options.user32Name);
    if (!view->Ready()) {
        if (!options.fatalError) DefaultFatalError();
        options.fatalError();
        return false;
    }
    view->Presenter().SetObserver(options.frameObserver);
    NoteStep("window created");
    return true;
}

void ClockParts::Open(HWND window, CountdownModel& model) {
    store = std::make_unique<ClockStore>(options.storePath, options.appPath, options.startStep);
    // Before any menu or dialog of this run is loaded.
    SetResourceLanguage(ResourceLanguageId(store->Core().Language()));
    NoteStep("resources' language");
    sounds.emplace(store->Core().getAppPath(), options.soundObserver);
    store->ReadInto(model);
    model.m_language = store->Core().Language();
    runLog.emplace(FileBeside(store->Core().StorePath(), kRunLogName));
    view->SetDpi(options.dpiOverride ? options.dpiOverride : DpiForWindow(window));
    view->Presenter().SetConstantAlpha(ConstantAlphaFor(model.m_opacity));
    desktop.ApplyAtStart(window, model, options.captureSystem ? *options.captureSystem : ThisSystem());
    SetWindowTextW(window, Widen(kWindowTitle).c_str());
    view->PlaceAt(window, model, model.m_posLeft, model.m_posTop);
}

void ClockParts::FinishStart(HWND window, const CountdownModel& model) {
    NoteStep("window visible");
    desktop.FinishStart(window, model);
    NoteStep("hot keys and foreground hook");
    store->Core().CreateMissingStore();
    NoteStep("settings file written if new");
    if (model.m_idleClock) ArmMinuteTimer(window, ClockTimers::LocalSecondOfDay());
    WatchSchedule(window, model);
    desktop.SetForegroundListener([this](HWND foreground) {
        if (slides) slides->OnForeground(foreground);
    });
    WatchSlides(window, model);
    remote = StartRemoteLink(window, store->Core());
}

void ClockParts::WatchSlides(HWND window, const CountdownModel& model) {
    // Nothing of it is made, and nothing loaded, while the clock takes no notice of slides.
    slides.reset();
    slideAwayTimer.reset();
    if (model.m_slideShowMode != kSlidesOff) slides = std::make_unique<SlideShowLink>(window);
}

void ClockParts::StopInput() {
    remote.reset();  // the network thread stops before the window goes
    slides.reset();
    desktop.Release();
}

void ClockParts::StopTimers(CountdownModel& model) {
    timers.Release();
    blinkTimer.reset();
    scheduleTimer.reset();
    slideAwayTimer.reset();
    model.m_timerId = kNoTimer;
}

void ClockParts::ApplyTimers(HWND window, const EngineEffects& effects, CountdownModel& model) {
    if (effects.stopTimer != kNoTimer) timers.Stop(effects.stopTimer);
    if (effects.armTimer == EngineEffects::Timer::Periodic) model.m_timerId = timers.StartPeriodic(window);
    if (effects.armTimer == EngineEffects::Timer::OneShot)
        model.m_timerId = timers.StartOneShot(window, effects.oneShotDelayMs);
    if (effects.slideAway != EngineEffects::SlideAway::None) {
        slideAwayTimer.reset();
        if (effects.slideAway == EngineEffects::SlideAway::Arm)
            slideAwayTimer =
                WindowTimer(WindowTimerId{window, SetTimer(window, kSlideAwayTimerId, kSlideShowAwayMs, nullptr)});
    }
    if (effects.blink == EngineEffects::Blink::None) return;
    // Released before a new one is set: both carry the same id, and KillTimer would take the new one.
    blinkTimer.reset();
    if (effects.blink == EngineEffects::Blink::Arm)
        blinkTimer = WindowTimer(WindowTimerId{window, SetTimer(window, kBlinkTimerId, kBlinkStepMs, nullptr)});
}

void ClockParts::Redo(HWND window, uint32_t redo, CountdownModel& model) {
    if (redo & EngineEffects::kRedoHotKeys) desktop.RegisterHotKeysAgain(window, model);
    if (redo & EngineEffects::kRedoWindow) {
        view->Presenter().SetConstantAlpha(ConstantAlphaFor(model.m_opacity));
        desktop.ApplyWindowSettings(window, model, options.captureSystem ? *options.captureSystem : ThisSystem());
    }
    if ((redo & EngineEffects::kRedoRemote) && store) {
        // Stopped first: the new one may want the same port.
        remote.reset();
        remote = StartRemoteLink(window, store->Core());
    }
    if (redo & EngineEffects::kRedoMonitor) view->MoveToMonitor(window, model);
    if (redo & EngineEffects::kRedoSchedule) WatchSchedule(window, model);
    if (redo & EngineEffects::kRedoSlides) WatchSlides(window, model);
    if ((redo & EngineEffects::kRedoMinuteTimer) && model.m_idleClock) FollowTimeOfDay(window, model);
}

void ClockParts::FollowTimeOfDay(HWND window, CountdownModel& model) {
    const int32_t now = ClockTimers::LocalSecondOfDay();
    model.m_localMinute = now / 60;
    model.m_clock12Hour = ClockTimers::Uses12HourClock() ? 1 : 0;  // as the user's Windows writes times now
    ArmMinuteTimer(window, now);
}

void ClockParts::WatchSchedule(HWND window, const CountdownModel& model) {
    scheduleTimer.reset();
    if (!PlanShow(model.m_show).spans.empty())
        scheduleTimer = WindowTimer(WindowTimerId{window, SetTimer(window, kScheduleTimerId, 1000, nullptr)});
}

void ClockParts::PlaySounds(const EngineEffects& effects, const CountdownModel& model) const {
    if (!store) return;
    if (effects.alertSound) sounds->PlayAlert(store->Core(), model.m_alertSound != 0);
    if (effects.cueSound) sounds->PlayCue(store->Core());
}

SnapshotPtr ClockParts::Snapshot(const CountdownModel& model) const {
    auto snapshot =
        std::make_shared<ClockSnapshot>(SnapshotOf(model, UnixNowMs(), MsToNextTick(model, ClockTimers::NowMs()),
                                                   ProductVersion(), ClockTimers::LocalSecondOfDay()));
    if (store && store->Core().Language() == UiLanguage::Chinese) snapshot->language = "zh";
    return snapshot;
}

void ClockParts::Publish(const CountdownModel& model) {
    if (remote && remote->Listening()) remote->Publish(Snapshot(model));
}

void ClockParts::ShowAbout(HWND window, const CountdownModel& model) {
    if (!store) return;
    store->ShowAbout(window, AboutText(desktop.HotKeys().Statuses(), desktop.Capture(), store->Core().Show(),
                                       DescribeSlideShow(model), remote.get()));
}

void ClockParts::StoreSettings(HWND window, CountdownModel& model) {
    if (!store) return;
    if (PositionIsStored(model)) RecordPlace(window, model);
    store->Store(model);
}

}  // namespace tallyglass
