#include "shell/remote_start_win.h"

#include "remote/remote_plan.h"
#include "remote/remote_system_win.h"
#include "shell/run_log_file_win.h"
#include "store/setting_keys.h"
#include "store/store_files.h"

namespace tallyglass {

namespace {
RemoteSettings ReadRemoteSettings(const CCore& core) {
    namespace k = setting_keys;
    return {core.getConfigStr(k::kRemote),        core.getConfigStr(k::kRemoteBind),
            core.getConfigInt(k::kRemotePort),    core.getConfigStr(k::kRemoteKey),
            core.getConfigStr(k::kRemoteViewKey), core.getConfigB(k::kRemoteOsc),
            core.getConfigStr(k::kRemoteFeedback)};
}

void MakeMissingKeys(RemoteSettings& settings, CCore& core) {
    namespace k = setting_keys;
    if (settings.key.empty() && !(settings.key = MakeRemoteKey()).empty())
        core.saveConfigStr(k::kRemoteKey, settings.key);
    if (settings.viewKey.empty() && !(settings.viewKey = MakeRemoteKey()).empty())
        core.saveConfigStr(k::kRemoteViewKey, settings.viewKey);
    core.commitConfig();
}
}  // namespace

std::unique_ptr<RemoteLink> StartRemoteLink(HWND window, CCore& core) {
    RemoteSettings settings = ReadRemoteSettings(core);
    const RemotePlan plan = PlanRemote(settings);
    if (plan.on && (settings.key.empty() || settings.viewKey.empty())) MakeMissingKeys(settings, core);
    if (!plan.on && plan.why.empty()) return nullptr;
    return std::make_unique<RemoteLink>(
        window, plan, AccessKeys{settings.key, settings.viewKey}, settings.oscFromAnywhere,
        FileBeside(core.StorePath(), L"TallyglassCountdown-remote.log"),
        core.Language() == UiLanguage::Chinese ? "zh" : "en", FileBeside(core.StorePath(), kRunLogName));
}

}  // namespace tallyglass
