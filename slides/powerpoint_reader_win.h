#pragma once
// The walk through PowerPoint's object model: the show each round, the deck only when
// the tracker asks for it. Every call goes through the DispatchCaller, so each is
// bounded, and any that is refused or unanswered ends the walk for this round.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "command/slide_show_seen.h"
#include "framework/com_win.h"
#include "slides/call_outcome.h"
#include "slides/dispatch_call_win.h"
#include "slides/show_tracker.h"

namespace tallyglass {

class PowerPointReader {
public:
    PowerPointReader(CallBound& bound, const std::atomic<bool>& stop) : m_call(bound, stop) {}

    // PowerPoint's Application in the running object table: Failed when it is not there.
    CallOutcome Find();
    bool Found() const { return static_cast<bool>(m_application); }
    // SlideShowWindows.Count, then of each window Item(i).HWND; of the one picked (the one in
    // front, else the first) View.Slide.SlideIndex and Presentation.Slides.Count.
    CallOutcome ReadShow(HWND foreground, ShowReading& reading);
    // The picked show's deck: Presentation.Name and, per slide (at most kDeckSlidesMax),
    // SlideShowTransition.Hidden and its notes page's body text.
    CallOutcome ReadDeck(int32_t slideCount, std::vector<SlideSeen>& slides, std::string& deckName);
    void Forget();
    uint64_t Calls() const { return m_call.Calls(); }

private:
    struct Show {
        HWND window = nullptr;
        ComPtr<IDispatch> view, presentation, slides;
    };
    CallOutcome PickShow(int32_t windows, HWND foreground, HWND& picked, ComPtr<IDispatch>& pickedWindow);
    CallOutcome Open(HWND window, ComPtr<IDispatch> showWindow);
    CallOutcome ReadSlide(int32_t index, SlideSeen& slide);
    CallOutcome ReadNotes(IDispatch* slide, std::string& notes);
    CallOutcome BodyPlaceholder(IDispatch* placeholders, ComPtr<IDispatch>& body);
    CallOutcome IsBody(IDispatch* shape, bool& body);

    DispatchCaller m_call;
    ComPtr<IDispatch> m_application, m_windows;
    Show m_show;
};

}  // namespace tallyglass
