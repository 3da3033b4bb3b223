#include "shell/capture_exclusion_win.h"

namespace tallyglass {

namespace {
constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE
constexpr uint32_t kFirstBuildThatExcludes = 19041;

// The real build number: GetVersionEx answers what the manifest lets it.
uint32_t WindowsBuild() {
    struct VersionInfo {
        ULONG size, major, minor, build, platform;
        WCHAR servicePack[128];
    } info{};
    info.size = sizeof info;
    using RtlGetVersionFn = LONG(WINAPI*)(VersionInfo*);
    const auto function = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!function || function(&info) != 0) return 0;
    return info.build;
}
}  // namespace

CaptureSystem ThisSystem() {
    using SetAffinityFn = BOOL(WINAPI*)(HWND, DWORD);
    const auto function = reinterpret_cast<SetAffinityFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetWindowDisplayAffinity")));
    CaptureSystem system;
    if (function) system.setAffinity = function;
    system.windowsBuild = WindowsBuild();
    return system;
}

CaptureExclusion ExcludeFromCapture(HWND window, const CaptureSystem& system) {
    if (system.windowsBuild < kFirstBuildThatExcludes || !system.setAffinity) return CaptureExclusion::SystemTooOld;
    return system.setAffinity(window, kExcludeFromCapture) ? CaptureExclusion::Excluded : CaptureExclusion::Refused;
}

CaptureExclusion IncludeInCapture(HWND window, const CaptureSystem& system) {
    if (system.setAffinity) system.setAffinity(window, 0);
    return CaptureExclusion::NotAsked;
}

std::wstring CaptureExclusionNote(CaptureExclusion result) {
    switch (result) {
        case CaptureExclusion::SystemTooOld:
            return L"Visible to screen capture: hiding needs Windows 10 version 2004 or later.";
        case CaptureExclusion::Refused:
            return L"Visible to screen capture: the system refused to hide the clock.";
        default:
            return {};
    }
}

}  // namespace tallyglass
