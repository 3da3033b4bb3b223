#pragma once
// The settings keys, named once: the store's table of defaults and the clock's
// table of fields both use these.

namespace tallyglass {

// The settings file's own section.
constexpr char kSettingsSection[] = "settings";

namespace setting_keys {
constexpr char kNoBackground[] = "nobg";
constexpr char kAlertSound[] = "wavalert";
constexpr char kAlertCenter[] = "alertcenter";
constexpr char kFontName[] = "fontname";
constexpr char kSizeNormal[] = "fsizenormal";
constexpr char kSizeAlert[] = "fsizealert";
constexpr char kSizeTitle[] = "fsizetitle";
constexpr char kColorNormal[] = "clrnormal";
constexpr char kColorAlert[] = "clralert";
constexpr char kCountdownSeconds[] = "djsseconds";
constexpr char kAlertSeconds[] = "alertseconds";
constexpr char kAlertText[] = "alertstr";
constexpr char kTitle[] = "title";
constexpr char kPosLeft[] = "posleft";
constexpr char kPosTop[] = "postop";
constexpr char kWarnSeconds[] = "warnseconds";
constexpr char kColorWarn[] = "clrwarn";
constexpr char kOvertime[] = "overtime";
constexpr char kAlertFlash[] = "alertflash";
constexpr char kOpacity[] = "opacity";
constexpr char kClickThrough[] = "clickthrough";
constexpr char kHideFromCapture[] = "hidefromcapture";
constexpr char kMonitor[] = "monitor";
// Read by the core services at start, never written back: the interface language.
constexpr char kLanguage[] = "language";
constexpr char kHotKeyStart[] = "hotkeystart";
constexpr char kHotKeyReset[] = "hotkeyreset";
constexpr char kHotKeyPause[] = "hotkeypause";
constexpr char kHotKeyPlus[] = "hotkeyplus";
constexpr char kHotKeyMinus[] = "hotkeyminus";
constexpr char kHotKeyClickThrough[] = "hotkeyclickthrough";
constexpr char kHotKeyNext[] = "hotkeynext";
constexpr char kHotKeyPrevious[] = "hotkeyprevious";
constexpr char kFace[] = "face";
constexpr char kIdleClock[] = "idleclock";
constexpr char kCues[] = "cues";
constexpr char kShowAdvance[] = "showadvance";
constexpr char kShowAutoStart[] = "showautostart";
constexpr char kMessagePresets[] = "messagepresets";
constexpr char kSchedule[] = "schedule";
constexpr char kSlideShow[] = "slideshow";
constexpr char kSlideNumber[] = "slidenumber";
constexpr char kSlidePacing[] = "slidepacing";
// Remote control: off unless the user turns it on; the keys are made at its first start.
constexpr char kRemote[] = "remote";
constexpr char kRemoteBind[] = "remotebind";
constexpr char kRemotePort[] = "remoteport";
constexpr char kRemoteKey[] = "remotekey";
constexpr char kRemoteViewKey[] = "remoteviewkey";
constexpr char kRemoteOsc[] = "remoteosc";
constexpr char kRemoteFeedback[] = "remotefeedback";
}  // namespace setting_keys

}  // namespace tallyglass
