#include "slides/call_bound_win.h"

namespace tallyglass {

namespace {
constexpr DWORD kNudgePeriodMs = 50;
}  // namespace

CallBound::CallBound(DWORD boundMs, const std::atomic<bool>& stop)
    : m_boundMs(boundMs), m_stop(stop), m_thread(GetCurrentThreadId()) {
    m_registered = SUCCEEDED(CoRegisterMessageFilter(&m_filter, m_previous.Receive()));
    HANDLE timer = nullptr;
    if (CreateTimerQueueTimer(&timer, nullptr, &CallBound::OnNudgeTimer, this, kNudgePeriodMs, kNudgePeriodMs,
                              WT_EXECUTEDEFAULT))
        m_nudges = QueueTimer(timer);
}

CallBound::~CallBound() {
    m_nudges.reset();
    if (m_registered) CoRegisterMessageFilter(m_previous.get(), nullptr);
}

void CALLBACK CallBound::OnNudgeTimer(void* bound, BOOLEAN) noexcept {
    const auto* self = static_cast<const CallBound*>(bound);
    if (self->m_callStart != 0 || self->m_stop) PostThreadMessageW(self->m_thread, kCallNudgeMessage, 0, 0);
}

bool CallBound::Overdue() const {
    if (m_stop) return true;
    const DWORD start = m_callStart;
    return start != 0 && GetTickCount() - start >= m_boundMs;
}

HRESULT STDMETHODCALLTYPE CallBound::Filter::QueryInterface(REFIID id, void** object) {
    if (id == IID_IUnknown || id == IID_IMessageFilter) {
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE CallBound::Filter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;
}

// -1: the rejected call fails at once with RPC_E_CALL_REJECTED; the next round asks again.
DWORD STDMETHODCALLTYPE CallBound::Filter::RetryRejectedCall(HTASK, DWORD, DWORD) { return static_cast<DWORD>(-1); }

DWORD STDMETHODCALLTYPE CallBound::Filter::MessagePending(HTASK, DWORD, DWORD) {
    return m_bound.Overdue() ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace tallyglass
