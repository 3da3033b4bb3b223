#include "shell/about_text_win.h"

#include "clock/schedule.h"
#include "framework/text_win.h"

namespace tallyglass {

std::wstring AboutText(const std::vector<HotKeyStatus>& hotKeys, CaptureExclusion capture, const RunOfShow& show,
                       const std::string& slides, const RemoteLink* remote) {
    std::wstring text = Widen(ControlsText(hotKeys));
    if (const std::wstring note = CaptureExclusionNote(capture); !note.empty()) text += L"\n\n" + note;
    if (const std::string shown = DescribeRunOfShow(show); !shown.empty()) text += L"\n\n" + Widen(shown);
    if (const std::string overlap = PlanShow(show.segments).firstOverlap; !overlap.empty())
        text += L"\nPlanned starts: " + Widen(overlap) + L" (used as given).";
    if (!slides.empty()) text += L"\n\n" + Widen(slides);
    if (remote) text += L"\n\n" + remote->Status();
    return text;
}

}  // namespace tallyglass
