#include "bench/process_figures_win.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/start_steps_win.h"
#include "bench/bench_support_win.h"
#include "bench/first_frame_signal.h"
#include "framework/handles_win.h"

namespace tallyglass {

namespace {
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
    static constexpr int kStarts = 15;
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

// One start of the floor, closed again; its idle working set read 2 s after its frame
// where asked for.
std::optional<double> StartFloor(const std::wstring& exe, size_t* idleKiB) {
    const MeasuredProgram floor(exe, {});
    if (!floor.Shown()) return std::nullopt;
    if (idleKiB) {
        Sleep(2000);
        *idleKiB = floor.WorkingSetKiB();
    }
    return floor.StartMs();
}

}  // namespace

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
        const auto floor = StartFloor(floorExe, run == 0 ? &floorIdleKiB : nullptr);
        if (!floor) return;
        starts.floor.push_back(*floor);
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
}  // namespace tallyglass
