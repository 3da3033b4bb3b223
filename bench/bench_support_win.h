#pragma once
// What the benchmark's figures share: the clock they are read by, a message pump, percentiles.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/atomic_file_win.h"

namespace tallyglass {

inline double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct Percentiles {
    double median, p95;
};
inline Percentiles Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[std::min(samples.size() - 1, samples.size() * 95 / 100)]};
}

// A one-shot timer re-armed after each tick's work, for comparison.

// A settings file of the bench's own in the temporary folder.
inline std::wstring TempStore(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    const char ini[] = "[settings]\nfontname=DejaVu Sans\nwavalert=0\nalertcenter=0\ndjsseconds=100000\n";
    WriteFileAtomically(path, ini);
    return path;
}

}  // namespace tallyglass
