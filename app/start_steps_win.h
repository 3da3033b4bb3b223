#pragma once
// Bench seam: when the environment variable TALLYGLASS_BENCH_STEPS names a file,
// the clock notes the moment each step of its start-up ends and, as it exits,
// writes one "step: milliseconds" line per note there. The milliseconds are the
// performance counter's, which every process on the machine shares, so that the
// bench can measure them from the moment it started the process. Without the
// variable nothing is noted and nothing is written.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tallyglass {

constexpr wchar_t kStartStepsVariable[] = L"TALLYGLASS_BENCH_STEPS";

class StartSteps {
public:
    StartSteps();
    bool On() const { return !m_path.empty(); }
    // The step's name must outlive this object (a string literal).
    void Note(const char* step);
    void Write() const;

private:
    std::wstring m_path;
    std::vector<std::pair<const char*, LONGLONG>> m_notes;
};

}  // namespace tallyglass
