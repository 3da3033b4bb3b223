// Figures, not assertions: timer accuracy, frame cost, size, start-up and memory.
// Prints one "name: value unit" line per figure. Usage: win_bench <exe> [ticks [floor-exe [remote-exe]]]
// or win_bench --dump-frame <file.pam> [slide|normal|warning|alert|overtime] for the README.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/start_steps_win.h"
#include "bench/bench_support_win.h"
#include "bench/first_frame_signal.h"
#include "bench/frame_figures_win.h"
#include "bench/process_figures_win.h"
#include "bench/remote_figures_win.h"
#include "framework/handles_win.h"
#include "render/frame_win.h"
#include "shell/countdown_wnd_win.h"

using namespace tallyglass;

namespace {

struct RearmedTimer {
    HWND target;
    UINT resolution;
    static void CALLBACK Fire(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
        PostMessageW(reinterpret_cast<HWND>(user), WM_APP + 7, 0, 0);
    }
    void Arm() {
        timeSetEvent(1000, resolution, &Fire, reinterpret_cast<DWORD_PTR>(target),
                     TIME_ONESHOT | TIME_KILL_SYNCHRONOUS);
    }
};

// Tick k is expected at start + k seconds; the last recorded frame is the reset's, not a tick's.
void PrintTimerOffsets(double start, const std::vector<double>& periodic, const std::vector<double>& rearmed,
                       int ticks) {
    std::printf("# tick  periodic offset ms  re-armed offset ms\n");
    double worstPeriodic = 0, worstRearmed = 0;
    for (int k = 0; k < ticks; ++k) {
        const double expected = start + 1000.0 * (k + 1);
        const double a = periodic[k] - expected, b = rearmed[k] - expected;
        worstPeriodic = std::max(worstPeriodic, std::fabs(a));
        worstRearmed = std::max(worstRearmed, std::fabs(b));
        std::printf("# %4d  %10.1f  %10.1f\n", k + 1, a, b);
    }
    const double end = start + 1000.0 * ticks;
    std::printf("periodic timer largest offset over %d ticks: %.1f ms\n", ticks, worstPeriodic);
    std::printf("periodic timer drift after %d ticks: %.1f ms\n", ticks, periodic[ticks - 1] - end);
    std::printf("re-armed timer largest offset over %d ticks: %.1f ms\n", ticks, worstRearmed);
    std::printf("re-armed timer drift after %d ticks: %.1f ms\n", ticks, rearmed[ticks - 1] - end);
}

void TimerAccuracy(int ticks) {
    std::vector<double> periodic, rearmed;
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-timer.ini");
    options.frameObserver = [&](const FramePixels&) { periodic.push_back(NowMs()); };
    CountdownWnd clock(options);
    clock.Create();

    CountdownWndOptions otherOptions;
    otherOptions.storePath = TempStore(L"tallyglass-bench-timer2.ini");
    otherOptions.manualTicks = true;
    CountdownWnd other(otherOptions);  // the re-armed timer's tick does the same work
    other.Create();
    const OwnedWindow sink(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    RearmedTimer timer{sink.get(), clock.TimerResolution()};

    periodic.clear();
    const double start = NowMs();
    clock.StartCountdown();
    timer.Arm();
    periodic.clear();  // the frame of the start itself
    while (static_cast<int>(periodic.size()) < ticks || static_cast<int>(rearmed.size()) < ticks) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (msg.hwnd == sink.get() && msg.message == WM_APP + 7) {
            rearmed.push_back(NowMs());
            CountdownModel state = other.Model();
            state.m_running = 1;
            state.m_remaining = 100000 - static_cast<int>(rearmed.size());
            other.Show(state, /*relayout=*/false);
            if (static_cast<int>(rearmed.size()) < ticks) timer.Arm();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    clock.ResetCountdown();
    std::printf("timer resolution: %u ms\n", clock.TimerResolution());
    PrintTimerOffsets(start, periodic, rearmed, ticks);
}

void PumpFor(double ms) {
    const double until = NowMs() + ms;
    while (NowMs() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        Pump();
    }
}

// From a hot key (WM_HOTKEY as Windows posts it) to the frame it asks for.
void HotKeyToFrame() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-hotkey.ini");
    options.manualTicks = true;
    int frames = 0;
    options.frameObserver = [&](const FramePixels&) { ++frames; };
    CountdownWnd clock(options);
    clock.Create();
    std::vector<double> samples;
    for (int i = 0; i < 60; ++i) {
        const int before = frames;
        const double start = NowMs();
        PostMessageW(clock.GetSafeHwnd(), WM_HOTKEY, i % 2 ? 5 : 4, 0);  // a minute more, a minute less
        while (frames == before) {
            WaitMessage();
            Pump();
        }
        samples.push_back(NowMs() - start);
    }
    const Percentiles p = Summarise(samples);
    std::printf("hot key to frame median: %.3f ms\nhot key to frame p95: %.3f ms\n", p.median, p.p95);
}

// 100 pause/resume pairs at odd moments of the second: the count must end where
// the time it ran says, to the second.
void PauseResumePairs() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-pause.ini");
    CountdownWnd clock(options);
    clock.Create();
    double ran = 0;
    double resumed = NowMs();
    clock.StartCountdown();
    for (int i = 0; i < 100; ++i) {
        PumpFor(97 + 41 * (i % 7));
        ran += NowMs() - resumed;  // read as the clock reads it, before the paused frame is drawn
        clock.Apply({tallyglass::CommandKind::PauseOrResume, 0, {}, {}});
        PumpFor(60);
        resumed = NowMs();
        clock.Apply({tallyglass::CommandKind::PauseOrResume, 0, {}, {}});
    }
    // End half-way through a second, so that the comparison has half a second of room either side.
    PumpFor(1500 - std::fmod(ran, 1000.0));
    ran += NowMs() - resumed;
    clock.Apply({tallyglass::CommandKind::PauseOrResume, 0, {}, {}});
    const int exact = 100000 - static_cast<int>(ran / 1000.0);
    std::printf("pause/resume: counted %.3f s over 100 pairs\n", ran / 1000.0);
    std::printf("pause/resume: remaining %d s, exact %d s, off by %d s\n", clock.Model().m_remaining, exact,
                clock.Model().m_remaining - exact);
    clock.ResetCountdown();
}

// 300 frames' times after 20 to warm up; messages are pumped now and then.
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wstring(argv[1]) == L"--dump-frame") return DumpFrame(argv[2], argc > 3 ? argv[3] : L"slide");
    const int ticks = argc > 2 ? _wtoi(argv[2]) : 120;
    if (argc > 1) ProcessFigures(argv[1], argc > 3 ? argv[3] : L"", argc > 4 ? argv[4] : L"");
    FrameCost();
    MessageCost();
    RemoteFigures(&NowMs);
    HotKeyToFrame();
    PauseResumePairs();
    TimerAccuracy(ticks);
    return 0;
}
