#include "slides/slide_show_watcher_win.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "framework/com_win.h"
#include "slides/call_bound_win.h"
#include "slides/powerpoint_reader_win.h"
#include "slides/show_tracker.h"
#include "slides/show_window_win.h"

namespace tallyglass {

// What the owner and the thread share; the thread holds it too, so it may outlive the owner.
struct SlideShowWatcher::Shared {
    explicit Shared(SeenCallback seen, SlideShowWatchTiming timingGiven)
        : timing(timingGiven), callback(std::move(seen)) {}
    const SlideShowWatchTiming timing;
    std::atomic<bool> stop{false};
    KernelHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    ShowWindowWatch window;
    std::atomic<uint64_t> rounds{0}, calls{0};
    std::atomic<DWORD> threadId{0};
    std::mutex callbackLock;
    SeenCallback callback;  // emptied by the owner's destructor
};

namespace {

class Worker {
public:
    explicit Worker(SlideShowWatcher::Shared& shared)
        : m_shared(shared),
          m_apartment(COINIT_APARTMENTTHREADED),
          m_bound(shared.timing.callBoundMs, shared.stop),
          m_reader(m_bound, shared.stop) {}

    void Run() {
        while (!m_shared.stop) {
            Round();
            ++m_shared.rounds;
            m_shared.calls = m_reader.Calls();
            Wait();
        }
    }

private:
    void Round() {
        bool changed = false;
        const CallOutcome automation = m_apartment.Entered() ? ReadAutomation(changed) : CallOutcome::Failed;
        // Busy: what was told stands, and the next round asks again.
        if (automation == CallOutcome::Busy) return;
        if (automation != CallOutcome::Done) {
            const ShowWindowWatch::Seen window = m_shared.window.Check();
            changed = m_tracker.ApplyWindow(window.running, window.foreground, m_seen);
        }
        if (changed) Tell();
    }

    CallOutcome ReadAutomation(bool& changed) {
        CallOutcome outcome = m_reader.Found() ? CallOutcome::Done : m_reader.Find();
        ShowReading reading;
        if (outcome == CallOutcome::Done) outcome = m_reader.ReadShow(GetForegroundWindow(), reading);
        if (outcome == CallOutcome::Done && m_tracker.WantsDeck(reading)) outcome = ReadDeck(reading);
        if (outcome == CallOutcome::Gone || (outcome == CallOutcome::Failed && m_reader.Found())) {
            // Closed, ended from outside, or automation refused: found again at a later round.
            m_reader.Forget();
            m_tracker.Forget();
        }
        if (outcome == CallOutcome::Done) changed = m_tracker.Apply(reading, m_seen);
        return outcome;
    }

    CallOutcome ReadDeck(const ShowReading& reading) {
        std::vector<SlideSeen> slides;
        std::string deckName;
        const CallOutcome outcome = m_reader.ReadDeck(reading.slideCount, slides, deckName);
        if (outcome == CallOutcome::Done) m_tracker.TakeDeck(reading, std::move(slides), std::move(deckName));
        // A deck PowerPoint is too busy to give is asked for at the next round; the show is told now.
        return outcome == CallOutcome::Busy ? CallOutcome::Done : outcome;
    }

    void Tell() {
        std::lock_guard<std::mutex> lock(m_shared.callbackLock);
        if (m_shared.callback && !m_shared.stop) m_shared.callback(m_seen);
    }

    // Until the next round, a foreground change or the stop, with the apartment's messages handled.
    void Wait() {
        const HANDLE wake = m_shared.wake.get();
        const DWORD start = GetTickCount();
        for (DWORD spent = 0; !m_shared.stop && spent < m_shared.timing.periodMs; spent = GetTickCount() - start) {
            const DWORD woken =
                MsgWaitForMultipleObjects(1, &wake, FALSE, m_shared.timing.periodMs - spent, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            if (woken != WAIT_OBJECT_0 + 1) return;
        }
    }

    SlideShowWatcher::Shared& m_shared;
    ComApartment m_apartment;
    CallBound m_bound;
    PowerPointReader m_reader;  // its proxies go before the filter that bounds their release
    ShowTracker m_tracker;
    SlideShowSeen m_seen;  // what the owner was told last
};

DWORD WINAPI WatchThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<SlideShowWatcher::Shared>> owned(
        static_cast<std::shared_ptr<SlideShowWatcher::Shared>*>(parameter));
    const std::shared_ptr<SlideShowWatcher::Shared> shared = *owned;
    Worker(*shared).Run();
    return 0;
}

}  // namespace

SlideShowWatcher::SlideShowWatcher(SeenCallback seen, SlideShowWatchTiming timing)
    : m_shared(std::make_shared<Shared>(std::move(seen), timing)) {
    auto parameter = std::make_unique<std::shared_ptr<Shared>>(m_shared);
    DWORD threadId = 0;
    m_thread = KernelHandle(CreateThread(nullptr, 0, &WatchThread, parameter.get(), 0, &threadId));
    if (m_thread) parameter.release();
    m_shared->threadId = threadId;
}

SlideShowWatcher::~SlideShowWatcher() {
    m_shared->stop = true;
    {
        std::lock_guard<std::mutex> lock(m_shared->callbackLock);
        m_shared->callback = nullptr;
    }
    SetEvent(m_shared->wake.get());
    // Cancels a call under way at once, where COM can (see call_bound_win.h).
    if (m_shared->threadId) PostThreadMessageW(m_shared->threadId, kCallNudgeMessage, 0, 0);
    if (m_thread) WaitForSingleObject(m_thread.get(), m_shared->timing.stopBoundMs);
}

void SlideShowWatcher::OnForeground(HWND foreground) {
    m_shared->window.OnForeground(foreground);
    SetEvent(m_shared->wake.get());
}

uint64_t SlideShowWatcher::Rounds() const { return m_shared->rounds; }
uint64_t SlideShowWatcher::Calls() const { return m_shared->calls; }

}  // namespace tallyglass
