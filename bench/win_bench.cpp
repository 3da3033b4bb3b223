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
#include "bench/first_frame_signal.h"
#include "bench/remote_figures_win.h"
#include "framework/handles_win.h"
#include "render/frame_win.h"
#include "shell/countdown_wnd_win.h"

using namespace tallyglass;

namespace {
double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TempStore(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    const char ini[] = "[settings]\nfontname=DejaVu Sans\nwavalert=0\nalertcenter=0\ndjsseconds=100000\n";
    WriteFileAtomically(path, ini);
    return path;
}

struct Percentiles {
    double median, p95;
};
Percentiles Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[std::min(samples.size() - 1, samples.size() * 95 / 100)]};
}

// A one-shot timer re-armed after each tick's work, for comparison.
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
template <typename Frame>
Percentiles SampleFrames(Frame&& frame) {
    std::vector<double> samples;
    for (int i = 0; i < 20; ++i) frame(i);
    for (int i = 0; i < 300; ++i) {
        const double t0 = NowMs();
        frame(i);
        samples.push_back(NowMs() - t0);
        if (i % 50 == 0) Pump();
    }
    return Summarise(samples);
}

// The same surface, graphics and update as a frame of the clock, with nothing painted.
void PresentEmptyFrame(HWND hwnd, int32_t width, int32_t height) {
    WindowDc compatible(hwnd);
    FrameSurface surface(compatible.get(), width, height);
    WindowDc destination(hwnd);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    {
        Gdiplus::Graphics graphics(&surface.Image());
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    GdiFlush();
    POINT point{rect.left, rect.top}, source{0, 0};
    SIZE size{width, height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 253, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd, destination.get(), &point, &size, surface.Dc(), &source, 0, &blend, ULW_ALPHA);
}

void FrameCost() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-frame.ini");
    options.manualTicks = true;
    CountdownWnd clock(options);
    clock.Create();
    CountdownModel state = clock.Model();
    state.m_running = 1;

    std::vector<std::pair<std::string, Percentiles>> results;
    for (int size : {48, 96, 300}) {
        for (int noBackground : {0, 1}) {
            state.m_sizeNormal = size;
            state.m_noBackground = noBackground;
            state.m_remaining = 5999;
            clock.Show(state, /*relayout=*/true);
            state = clock.Model();  // with the size the layout gave it
            const Percentiles p = SampleFrames([&](int i) {
                state.m_remaining = 5999 - i % 600;
                clock.Show(state, /*relayout=*/false);
            });
            results.push_back(
                {"frame at size " + std::to_string(size) + (noBackground ? ", background off" : ", background on"), p});
        }
        // What the window's size alone costs: an empty frame as large as this size's.
        HWND hwnd = clock.GetSafeHwnd();
        const int32_t width = clock.Model().m_width, height = clock.Model().m_height;
        results.push_back({"empty frame on size " + std::to_string(size) + "'s window",
                           SampleFrames([&](int) { PresentEmptyFrame(hwnd, width, height); })});
    }
    // The floor, on size 96's window.
    state.m_sizeNormal = 96;
    clock.Show(state, /*relayout=*/true);
    HWND hwnd = clock.GetSafeHwnd();
    const int32_t width = clock.Model().m_width, height = clock.Model().m_height;
    const Percentiles floor = SampleFrames([&](int) { PresentEmptyFrame(hwnd, width, height); });
    std::printf("empty frame (floor) median: %.3f ms\n", floor.median);
    std::printf("empty frame (floor) p95: %.3f ms\n", floor.p95);
    for (const auto& [name, p] : results) {
        std::printf("%s median: %.3f ms\n", name.c_str(), p.median);
        std::printf("%s p95: %.3f ms\n", name.c_str(), p.p95);
        std::printf("%s median / floor: %.2f x\n", name.c_str(), p.median / floor.median);
    }
}

// The message to the presenter at its worst, 200 of the widest glyph fitted into two
// lines, against none: a tick's frame, and the layout a new message brings (two
// messages in turn, so that each is fitted anew).
void MessageCost() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-message.ini");
    options.manualTicks = true;
    CountdownWnd clock(options);
    clock.Create();
    CountdownModel state = clock.Model();
    state.m_running = 1;
    state.m_sizeNormal = 96;
    const std::string worst[] = {std::string(200, 'W'), std::string(199, 'W') + "M"};
    Percentiles frames[2], layouts[2];
    for (int withMessage : {0, 1}) {
        state.m_message = withMessage ? worst[0] : std::string();
        state.m_remaining = 5999;
        clock.Show(state, /*relayout=*/true);
        state = clock.Model();
        frames[withMessage] = SampleFrames([&](int i) {
            state.m_remaining = 5999 - i % 600;
            clock.Show(state, /*relayout=*/false);
        });
        layouts[withMessage] = SampleFrames([&](int i) {
            state.m_remaining = 5999 - i % 600;
            if (withMessage) state.m_message = worst[i % 2];
            clock.Show(state, /*relayout=*/true);
        });
    }
    const std::pair<const char*, const Percentiles*> rows[] = {{"frame", frames}, {"layout and frame", layouts}};
    for (const auto& [name, p] : rows) {
        std::printf("%s at size 96 without a message median: %.3f ms\n", name, p[0].median);
        std::printf("%s at size 96 with the worst message median: %.3f ms\n", name, p[1].median);
        std::printf("%s at size 96 with the worst message p95: %.3f ms\n", name, p[1].p95);
        std::printf("%s with the worst message / without: %.2f x\n", name, p[1].median / p[0].median);
    }
}

// A started program, timed up to its first frame; closed and waited for when it goes.
class MeasuredProgram {
public:
    // stepsFile: where the clock is asked to write its start-up steps; empty for none.
    MeasuredProgram(const std::wstring& exe, const std::wstring& stepsFile) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        // The child inherits the variable; it is taken away again at once.
        SetEnvironmentVariableW(kStartStepsVariable, stepsFile.empty() ? nullptr : stepsFile.c_str());
        m_createdMs = NowMs();
        const BOOL created = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &info);
        SetEnvironmentVariableW(kStartStepsVariable, nullptr);
        if (!created) {
            std::printf("# could not start %ls\n", exe.c_str());
            return;
        }
        m_process = KernelHandle(info.hProcess);
        KernelHandle thread(info.hThread);
        while (!m_window && NowMs() - m_createdMs < 20000 && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
            m_window = ShownWindow(info.dwProcessId);
            if (!m_window) Sleep(1);
        }
        if (!m_window) {
            std::printf("# no window shown by %ls\n", exe.c_str());
            return;
        }
        m_startMs = NowMs() - m_createdMs;
    }
    MeasuredProgram(const MeasuredProgram&) = delete;
    MeasuredProgram& operator=(const MeasuredProgram&) = delete;
    ~MeasuredProgram() {
        if (m_window)
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        else if (m_process)
            TerminateProcess(m_process.get(), 1);  // it never showed a frame: nothing to close it by
        if (m_process) WaitForSingleObject(m_process.get(), 10000);
    }

    bool Shown() const { return m_window != nullptr; }
    HWND Window() const { return m_window; }
    // When CreateProcess was called, on the performance counter's clock.
    double CreatedMs() const { return m_createdMs; }
    double StartMs() const { return m_startMs; }
    size_t WorkingSetKiB() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(m_process.get(), &counters, sizeof counters);
        return counters.WorkingSetSize / 1024;
    }

private:
    // The program's visible window with the signal title; the process id tells it
    // apart from one a previous program may still be closing.
    static HWND ShownWindow(DWORD processId) {
        for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, kFirstFrameWindowTitle); window;
             window = FindWindowExW(nullptr, window, nullptr, kFirstFrameWindowTitle)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    KernelHandle m_process;
    HWND m_window = nullptr;
    double m_createdMs = 0;
    double m_startMs = 0;
};

// The clock's start-up steps, in the order it noted them, as written at its exit:
// "step: counter milliseconds" lines, measured here from the process's creation.
std::vector<std::pair<std::string, double>> ReadStartSteps(const std::wstring& file, double createdMs) {
    std::vector<std::pair<std::string, double>> steps;
    FILE* in = _wfopen(file.c_str(), L"rb");
    if (!in) return steps;
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
        const std::string text(line);
        const size_t colon = text.rfind(':');
        if (colon == std::string::npos) continue;
        steps.emplace_back(text.substr(0, colon), std::atof(text.c_str() + colon + 1) - createdMs);
    }
    std::fclose(in);
    return steps;
}

double Median(std::vector<double> samples) { return Summarise(std::move(samples)).median; }

// The clock's and the floor's start-ups, taken in turns so that a busy moment of
// the machine falls on both; medians of kStarts each.
struct StartUps {
    static constexpr int kStarts = 7;
    std::vector<double> clock, floor;
    std::vector<std::string> stepNames;  // in the order of the first run
    std::vector<std::vector<double>> stepTimes;

    void AddSteps(const std::vector<std::pair<std::string, double>>& steps) {
        for (const auto& [name, ms] : steps) {
            const auto found = std::find(stepNames.begin(), stepNames.end(), name);
            if (found == stepNames.end()) {
                stepNames.push_back(name);
                stepTimes.push_back({ms});
            } else {
                stepTimes[static_cast<size_t>(found - stepNames.begin())].push_back(ms);
            }
        }
    }
    void Print() const {
        for (size_t i = 0; i < stepNames.size(); ++i)
            std::printf("start-up step, %s: %.0f ms\n", stepNames[i].c_str(), Median(stepTimes[i]));
        const auto [clockLow, clockHigh] = std::minmax_element(clock.begin(), clock.end());
        std::printf("process start to first frame: %.0f ms\n", Median(clock));
        std::printf("# clock: %zu starts from %.0f to %.0f ms\n", clock.size(), *clockLow, *clockHigh);
        if (floor.empty()) return;
        const auto [floorLow, floorHigh] = std::minmax_element(floor.begin(), floor.end());
        std::printf("floor: process start to first frame: %.0f ms\n", Median(floor));
        std::printf("# floor: %zu starts from %.0f to %.0f ms\n", floor.size(), *floorLow, *floorHigh);
        std::printf("start-up vs floor: %.2f x\n", Median(clock) / Median(floor));
    }
};

// Idle working sets are read once, 2 s after the first frame; the clock's also
// after 3.5 s of counting.
// The same clock with remote control on (its settings file says so), idle and counting.
void RemoteWorkingSet(const std::wstring& remoteExe, size_t offIdleKiB) {
    const MeasuredProgram clock(remoteExe, {});
    if (!clock.Shown()) return;
    Sleep(2000);
    const size_t idleKiB = clock.WorkingSetKiB();
    PostMessageW(clock.Window(), WM_KEYDOWN, VK_F2, 0);
    Sleep(3500);
    std::printf("working set with remote on while idle: %zu KiB\n", idleKiB);
    std::printf("working set with remote on while counting: %zu KiB\n", clock.WorkingSetKiB());
    std::printf("working set with remote on vs off: %.2f x\n",
                static_cast<double>(idleKiB) / static_cast<double>(offIdleKiB));
    PostMessageW(clock.Window(), WM_KEYDOWN, VK_F4, 0);
}

void ProcessFigures(const std::wstring& exe, const std::wstring& floorExe, const std::wstring& remoteExe) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &data))
        std::printf("exe size: %.0f KiB\n",
                    (static_cast<double>(data.nFileSizeLow) + 4294967296.0 * data.nFileSizeHigh) / 1024);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring stepsFile = std::wstring(temp) + L"tallyglass-bench-steps.txt";
    StartUps starts;
    size_t clockIdleKiB = 0, clockCountingKiB = 0, floorIdleKiB = 0;
    for (int run = 0; run < StartUps::kStarts; ++run) {
        DeleteFileW(stepsFile.c_str());
        double createdMs = 0;
        {
            MeasuredProgram clock(exe, stepsFile);
            if (!clock.Shown()) return;
            starts.clock.push_back(clock.StartMs());
            createdMs = clock.CreatedMs();
            if (run == 0) {
                Sleep(2000);
                clockIdleKiB = clock.WorkingSetKiB();
                PostMessageW(clock.Window(), WM_KEYDOWN, VK_F2, 0);
                Sleep(3500);
                clockCountingKiB = clock.WorkingSetKiB();
                PostMessageW(clock.Window(), WM_KEYDOWN, VK_F4, 0);
            }
        }
        starts.AddSteps(ReadStartSteps(stepsFile, createdMs));
        if (floorExe.empty()) continue;
        const MeasuredProgram floor(floorExe, {});
        if (!floor.Shown()) return;
        starts.floor.push_back(floor.StartMs());
        if (run == 0) {
            Sleep(2000);
            floorIdleKiB = floor.WorkingSetKiB();
        }
    }
    starts.Print();
    std::printf("working set while idle: %zu KiB\n", clockIdleKiB);
    std::printf("working set while counting: %zu KiB\n", clockCountingKiB);
    if (!remoteExe.empty()) RemoteWorkingSet(remoteExe, clockIdleKiB);
    if (floorExe.empty()) return;
    std::printf("floor: working set while idle: %zu KiB\n", floorIdleKiB);
    std::printf("working set vs floor: %.2f x\n",
                static_cast<double>(clockIdleKiB) / static_cast<double>(floorIdleKiB));
}
// The clock's state in one of the README's pictures: "slide" (background off,
// laid over a slide) or a phase with its background: normal, warning, alert, overtime.
CountdownModel PictureState(CountdownModel state, const std::wstring& picture) {
    state.m_running = 1;
    state.m_colorNormal = 0xFFFFFFFF;
    state.m_colorWarn = 0xFFFFC000;
    state.m_colorAlert = 0xFFFF3030;
    state.m_alertText = "TIME UP";
    state.m_remaining = 9 * 60 + 41;
    if (picture == L"slide") {
        state.m_noBackground = 1;
        state.m_sizeNormal = 120;
    } else if (picture == L"warning") {
        state.m_warnSeconds = 60;
        state.m_remaining = 45;
    } else if (picture == L"alert") {
        state.m_inAlert = 1;
        state.m_remaining = 42;
    } else if (picture == L"overtime") {
        state.m_inAlert = 1;
        state.m_overtime = 1;
        state.m_remaining = -75;
    }
    return state;
}

// Writes one frame as a PAM image (straight alpha) for the README.
int DumpFrame(const wchar_t* path, const std::wstring& picture) {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-dump.ini");
    options.manualTicks = true;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    options.frameObserver = [&](const FramePixels& frame) {
        pixels.assign(frame.pixels, frame.pixels + static_cast<size_t>(frame.width) * frame.height);
        width = frame.width;
        height = frame.height;
    };
    CountdownWnd clock(options);
    if (!clock.Create()) {
        std::fprintf(stderr, "the clock window could not be created\n");
        return 1;
    }
    clock.Show(PictureState(clock.Model(), picture), /*relayout=*/true);
    FILE* out = _wfopen(path, L"wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %ls\n", path);
        return 1;
    }
    std::fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    for (uint32_t p : pixels) {
        const unsigned a = p >> 24;
        auto straight = [a](unsigned c) { return static_cast<unsigned char>(a ? std::min(255u, c * 255 / a) : 0); };
        const unsigned char rgba[4] = {straight(p >> 16 & 0xFF), straight(p >> 8 & 0xFF), straight(p & 0xFF),
                                       static_cast<unsigned char>(a)};
        std::fwrite(rgba, 1, 4, out);
    }
    std::fclose(out);
    return 0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    GdiplusSession gdiplus;
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
