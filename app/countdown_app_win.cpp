#include "app/countdown_app_win.h"

#include "app/command_line_win.h"
#include "framework/text_win.h"
#include "shell/countdown_wnd_win.h"
#include "shell/hand_over_win.h"

namespace tallyglass {

BOOL CountdownApp::InitInstance() {
    m_startSteps.Note("runtime start-up");
    const std::vector<std::string> words = ProcessWords();
    ParsedCommandLine parsed = ParseCommandLine(words);
    if (!parsed.ok) {
        ReportBadCommandLine(parsed);
        m_exitCode = kBadCommandLineStatus;
        return FALSE;
    }
    // Orders go to the clock that already runs; without any, a clock starts as always.
    std::vector<std::string> orders = WordsToHandOver(words);
    std::optional<ShowTable> show;
    if (parsed.line.showPath) show = TakeShowFile(parsed.line, orders);
    if (show && show->segments.empty()) {  // no segment: nothing changes, as after a bad word
        ReportShowTable(*parsed.line.showPath, *show);
        m_exitCode = kBadCommandLineStatus;
        return FALSE;
    }
    HWND running = orders.empty() ? nullptr : FindRunningClock();
    const bool handedOver = running && HandOverWords(running, nullptr, orders);
    // Rows not taken are named once the running clock has the rest, or before a new one starts.
    if (show) ReportShowTable(*parsed.line.showPath, *show);
    if (handedOver) return FALSE;
    {
        CountdownWndOptions options;
        if (m_startSteps.On()) options.startStep = [this](const char* step) { m_startSteps.Note(step); };
        if (parsed.line.settingsPath) options.storePath = Widen(*parsed.line.settingsPath);
        options.startCommands = CommandsOf(parsed.line.orders);
        CountdownWnd window(std::move(options));
        window.DoModal();
    }
    return FALSE;  // the modal run was the whole program
}

int CountdownApp::ExitInstance() {
    m_startSteps.Write();
    return Application::ExitInstance();
}

}  // namespace tallyglass

namespace {
tallyglass::CountdownApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) { return theApp.Run(instance, showCommand); }
