#pragma once
// Bounds the outgoing COM calls of one single-threaded apartment, so that a busy
// PowerPoint costs a round, never a wait: a call it rejects is not retried, and one
// still waiting at its bound (or when the watcher stops) is cancelled. Windows ends a
// cancelled call's wait at once; Wine (8.0, combase CoWaitForMultipleHandles) notes
// the cancel but waits on for the answer, so there a hung PowerPoint holds the
// watcher's thread, and only its owner's bounded stop keeps the clock free.
#include <windows.h>
#include <ole2.h>

#include <atomic>

#include "framework/com_win.h"
#include "framework/handles_win.h"

namespace tallyglass {

// Posted to the apartment's thread while a call is out: COM consults the message
// filter only when a message arrives during the wait.
constexpr UINT kCallNudgeMessage = WM_APP + 0x2E1;

class CallBound {
public:
    // On the apartment's thread, once it has entered its STA. stop cancels a call at once.
    CallBound(DWORD boundMs, const std::atomic<bool>& stop);
    ~CallBound();
    CallBound(const CallBound&) = delete;
    CallBound& operator=(const CallBound&) = delete;

    // Marks one call out, for the filter and the nudges.
    class Call {
    public:
        explicit Call(CallBound& bound) : m_bound(bound) { m_bound.m_callStart = GetTickCount() | 1; }
        ~Call() { m_bound.m_callStart = 0; }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        CallBound& m_bound;
    };

private:
    class Filter : public IMessageFilter {
    public:
        explicit Filter(CallBound& bound) : m_bound(bound) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
        // Lives and dies with its CallBound, which revokes it first.
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
        DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override;
        DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

    private:
        CallBound& m_bound;
    };
    static void CALLBACK OnNudgeTimer(void* bound, BOOLEAN) noexcept;
    bool Overdue() const;

    const DWORD m_boundMs;
    const std::atomic<bool>& m_stop;
    const DWORD m_thread;
    std::atomic<DWORD> m_callStart{0};  // GetTickCount() | 1 while a call is out, else 0
    Filter m_filter{*this};
    ComPtr<IMessageFilter> m_previous;
    bool m_registered = false;
    QueueTimer m_nudges;  // last: stopped before what its callback reads
};

}  // namespace tallyglass
