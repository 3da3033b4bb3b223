#include "slides/call_outcome.h"

namespace tallyglass {

namespace {
// winerror.h's values, here so that this file builds (and is tested) natively.
constexpr uint32_t kCallRejected = 0x80010001;           // RPC_E_CALL_REJECTED
constexpr uint32_t kCallCanceled = 0x80010002;           // RPC_E_CALL_CANCELED
constexpr uint32_t kRetryLater = 0x8001010A;             // RPC_E_SERVERCALL_RETRYLATER
constexpr uint32_t kServerCallRejected = 0x8001010B;     // RPC_E_SERVERCALL_REJECTED
constexpr uint32_t kServerDied = 0x80010007;             // RPC_E_SERVER_DIED
constexpr uint32_t kServerDiedNotExecuted = 0x80010012;  // RPC_E_SERVER_DIED_DNE
constexpr uint32_t kDisconnected = 0x80010108;           // RPC_E_DISCONNECTED
constexpr uint32_t kNotConnected = 0x800401FD;           // CO_E_OBJNOTCONNECTED
constexpr uint32_t kServerUnavailable = 0x800706BA;      // HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
constexpr uint32_t kCallFailed = 0x800706BE;             // HRESULT_FROM_WIN32(RPC_S_CALL_FAILED)
constexpr uint32_t kCallFailedNotExecuted = 0x800706BF;  // HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE)
}  // namespace

CallOutcome OutcomeOf(int32_t hresult) {
    if (hresult >= 0) return CallOutcome::Done;
    switch (static_cast<uint32_t>(hresult)) {
        case kCallRejected:
        case kCallCanceled:
        case kRetryLater:
        case kServerCallRejected:
            return CallOutcome::Busy;
        case kServerDied:
        case kServerDiedNotExecuted:
        case kDisconnected:
        case kNotConnected:
        case kServerUnavailable:
        case kCallFailed:
        case kCallFailedNotExecuted:
            return CallOutcome::Gone;
        default:
            return CallOutcome::Failed;
    }
}

}  // namespace tallyglass
