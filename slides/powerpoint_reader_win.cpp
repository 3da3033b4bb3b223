#include "slides/powerpoint_reader_win.h"

#include <algorithm>
#include <utility>

#include "framework/text_win.h"
#include "slides/show_window_win.h"
#include "slides/slide_text.h"

namespace tallyglass {

namespace {
// Shows looked at in one round: more than two at once is already unusual.
constexpr int32_t kShowsMax = 8;
// A notes page has a slide image, the body, and at most a few headers and footers.
constexpr int32_t kPlaceholdersMax = 16;
constexpr int32_t kPlaceholderBody = 2;  // ppPlaceholderBody
constexpr size_t kDeckNameUnits = 260;

constexpr CallOutcome kDone = CallOutcome::Done;

// The show that counts when two run: the one in front, or the one owning what is.
bool IsFrontShow(HWND show, HWND foreground) {
    return foreground && (show == foreground || GetAncestor(foreground, GA_ROOTOWNER) == show);
}

HWND WindowOf(int32_t handle) {
    // SlideShowWindow.HWND is a Long; window handles keep to 32 bits, sign-extended.
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
}
}  // namespace

CallOutcome PowerPointReader::Find() {
    CLSID powerPoint{};
    if (FAILED(CLSIDFromProgID(L"PowerPoint.Application", &powerPoint))) return CallOutcome::Failed;
    ComPtr<IUnknown> running;
    const HRESULT active = GetActiveObject(powerPoint, nullptr, running.Receive());
    if (FAILED(active)) return OutcomeOf(active) == CallOutcome::Busy ? CallOutcome::Busy : CallOutcome::Failed;
    ComPtr<IDispatch> application;
    const CallOutcome outcome = OutcomeOf(running->QueryInterface(IID_IDispatch, application.ReceiveVoid()));
    if (outcome != kDone) return outcome;
    Forget();
    m_application = std::move(application);
    return kDone;
}

void PowerPointReader::Forget() {
    m_show = Show{};
    m_windows.reset();
    m_application.reset();
    m_call.Forget();
}

CallOutcome PowerPointReader::ReadShow(HWND foreground, ShowReading& reading) {
    reading = ShowReading{};
    CallOutcome outcome = kDone;
    if (!m_windows) outcome = m_call.GetObject(m_application.get(), L"Application", L"SlideShowWindows", m_windows);
    int32_t windows = 0;
    if (outcome == kDone) outcome = m_call.GetNumber(m_windows.get(), L"SlideShowWindows", L"Count", windows);
    if (outcome != kDone) return outcome;
    if (windows <= 0) {
        m_show = Show{};
        return kDone;
    }
    HWND picked = nullptr;
    ComPtr<IDispatch> pickedWindow;
    outcome = PickShow(windows, foreground, picked, pickedWindow);
    if (outcome == kDone && (picked != m_show.window || !m_show.view)) outcome = Open(picked, std::move(pickedWindow));
    if (outcome != kDone) return outcome;
    reading.running = true;
    reading.show = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(picked));
    reading.foreground = ShowInFront(picked, foreground);
    ComPtr<IDispatch> slide;
    outcome = m_call.GetObject(m_show.view.get(), L"SlideShowView", L"Slide", slide);
    if (outcome == kDone) outcome = m_call.GetNumber(slide.get(), L"Slide", L"SlideIndex", reading.slideIndex);
    // The black slide after the last has no Slide; the tracker keeps the index it had.
    if (outcome == CallOutcome::Failed) reading.slideIndex = 0;
    if (outcome != kDone && outcome != CallOutcome::Failed) return outcome;
    return m_call.GetNumber(m_show.slides.get(), L"Slides", L"Count", reading.slideCount);
}

CallOutcome PowerPointReader::PickShow(int32_t windows, HWND foreground, HWND& picked,
                                       ComPtr<IDispatch>& pickedWindow) {
    for (int32_t i = 1; i <= std::min(windows, kShowsMax); ++i) {
        ComPtr<IDispatch> window;
        int32_t handle = 0;
        CallOutcome outcome = m_call.GetObject(m_windows.get(), L"SlideShowWindows", L"Item", window, i);
        if (outcome == kDone) outcome = m_call.GetNumber(window.get(), L"SlideShowWindow", L"HWND", handle);
        if (outcome != kDone) return outcome;
        if (i == 1 || IsFrontShow(WindowOf(handle), foreground)) {
            picked = WindowOf(handle);
            pickedWindow = std::move(window);
            if (IsFrontShow(picked, foreground)) break;
        }
    }
    return kDone;
}

CallOutcome PowerPointReader::Open(HWND window, ComPtr<IDispatch> showWindow) {
    Show show;
    show.window = window;
    CallOutcome outcome = m_call.GetObject(showWindow.get(), L"SlideShowWindow", L"View", show.view);
    if (outcome == kDone)
        outcome = m_call.GetObject(showWindow.get(), L"SlideShowWindow", L"Presentation", show.presentation);
    if (outcome == kDone) outcome = m_call.GetObject(show.presentation.get(), L"Presentation", L"Slides", show.slides);
    if (outcome == kDone) m_show = std::move(show);
    return outcome;
}

CallOutcome PowerPointReader::ReadDeck(int32_t slideCount, std::vector<SlideSeen>& slides, std::string& deckName) {
    std::wstring name;
    CallOutcome outcome = m_call.GetText(m_show.presentation.get(), L"Presentation", L"Name", name, kDeckNameUnits);
    if (outcome != kDone && outcome != CallOutcome::Failed) return outcome;
    deckName = Narrow(name);
    slides.assign(static_cast<size_t>(std::clamp<int32_t>(slideCount, 0, kDeckSlidesMax)), SlideSeen{});
    for (size_t i = 0; i < slides.size(); ++i)
        if ((outcome = ReadSlide(static_cast<int32_t>(i + 1), slides[i])) != kDone) return outcome;
    return kDone;
}

CallOutcome PowerPointReader::ReadSlide(int32_t index, SlideSeen& slide) {
    ComPtr<IDispatch> item, transition;
    int32_t hidden = 0;
    CallOutcome outcome = m_call.GetObject(m_show.slides.get(), L"Slides", L"Item", item, index);
    if (outcome == kDone) outcome = m_call.GetObject(item.get(), L"Slide", L"SlideShowTransition", transition);
    if (outcome == kDone) outcome = m_call.GetNumber(transition.get(), L"SlideShowTransition", L"Hidden", hidden);
    if (outcome != kDone) return outcome;
    slide.hidden = hidden != 0;  // msoTrue is -1, msoCTrue 1
    return ReadNotes(item.get(), slide.notes);
}

CallOutcome PowerPointReader::ReadNotes(IDispatch* slide, std::string& notes) {
    ComPtr<IDispatch> page, shapes, placeholders, body, frame, range;
    std::wstring text;
    CallOutcome outcome = m_call.GetObject(slide, L"Slide", L"NotesPage", page);
    if (outcome == kDone) outcome = m_call.GetObject(page.get(), L"SlideRange", L"Shapes", shapes);
    if (outcome == kDone) outcome = m_call.GetObject(shapes.get(), L"Shapes", L"Placeholders", placeholders);
    if (outcome == kDone) outcome = BodyPlaceholder(placeholders.get(), body);
    if (outcome == kDone) outcome = m_call.GetObject(body.get(), L"Shape", L"TextFrame", frame);
    if (outcome == kDone) outcome = m_call.GetObject(frame.get(), L"TextFrame", L"TextRange", range);
    if (outcome == kDone) outcome = m_call.GetText(range.get(), L"TextRange", L"Text", text, kSlideNotesBytes);
    notes.clear();
    if (outcome == CallOutcome::Failed) return kDone;  // a notes page without a body: no notes
    if (outcome == kDone) notes = CutUtf8(NotesLines(Narrow(text)), kSlideNotesBytes);
    return outcome;
}

// The notes body is Placeholders(2) on PowerPoint's own notes master; a page whose
// slide image was deleted has it elsewhere, so its type decides, not its place.
CallOutcome PowerPointReader::BodyPlaceholder(IDispatch* placeholders, ComPtr<IDispatch>& body) {
    bool isBody = false;
    CallOutcome outcome = m_call.GetObject(placeholders, L"Placeholders", L"Item", body, 2);
    if (outcome == kDone) outcome = IsBody(body.get(), isBody);
    if (outcome == kDone && isBody) return kDone;
    if (outcome != kDone && outcome != CallOutcome::Failed) return outcome;
    int32_t count = 0;
    if ((outcome = m_call.GetNumber(placeholders, L"Placeholders", L"Count", count)) != kDone) return outcome;
    for (int32_t i = 1; i <= std::min(count, kPlaceholdersMax); ++i) {
        if (i == 2) continue;
        outcome = m_call.GetObject(placeholders, L"Placeholders", L"Item", body, i);
        if (outcome == kDone) outcome = IsBody(body.get(), isBody);
        if (outcome != kDone) return outcome;
        if (isBody) return kDone;
    }
    return CallOutcome::Failed;
}

CallOutcome PowerPointReader::IsBody(IDispatch* shape, bool& body) {
    ComPtr<IDispatch> format;
    int32_t type = 0;
    CallOutcome outcome = m_call.GetObject(shape, L"Shape", L"PlaceholderFormat", format);
    if (outcome == kDone) outcome = m_call.GetNumber(format.get(), L"PlaceholderFormat", L"Type", type);
    body = outcome == kDone && type == kPlaceholderBody;
    return outcome;
}

}  // namespace tallyglass
