#include "app/start_steps_win.h"

#include <string>

#include "framework/handles_win.h"

namespace tallyglass {

StartSteps::StartSteps() {
    const DWORD length = GetEnvironmentVariableW(kStartStepsVariable, nullptr, 0);
    if (length == 0) return;
    m_path.resize(length);
    m_path.resize(GetEnvironmentVariableW(kStartStepsVariable, m_path.data(), length));
    m_notes.reserve(16);
}

void StartSteps::Note(const char* step) {
    if (!On()) return;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    m_notes.emplace_back(step, now.QuadPart);
}

void StartSteps::Write() const {
    if (!On()) return;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::string text;
    for (const auto& [step, count] : m_notes) {
        const double ms = 1000.0 * static_cast<double>(count) / static_cast<double>(frequency.QuadPart);
        text += std::string(step) + ": " + std::to_string(ms) + "\n";
    }
    const FileHandle file(
        CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace tallyglass
