// The Remote page's links: each key's address as a phone would open it, with Copy
// and a QR code it can scan, following the fields as they are typed.
#include "base/text_scan.h"
#include "framework/text_win.h"
#include "render/qr_code.h"
#include "render/qr_paint_win.h"
#include "settings/settings_ids_win.h"
#include "settings/settings_page_win.h"
#include "store/setting_keys.h"

namespace tallyglass {

using namespace settings_ids;
namespace k = setting_keys;

void SettingsPageWnd::BuildRemoteLinks(int y) {
    m_remoteState = Make(L"STATIC", m_shared.input.remoteState, SS_LEFT | SS_ENDELLIPSIS, kMargin, kMargin,
                         kPageWidth - 2 * kMargin, 10, -1);
    for (int i = 0; i < 2; ++i) {
        const int row = y + i * kRowHeight;
        Make(L"STATIC", m_shared.Word(i == 0 ? SettingsWord::ControlLink : SettingsWord::ViewLink),
             SS_LEFT | SS_CENTERIMAGE, kMargin, row, 94, kControlHeight, -1);
        (i == 0 ? m_controlLink : m_viewLink) =
            Make(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, kMargin + 96, row, 176, kControlHeight,
                 kControlLink + i, WS_EX_CLIENTEDGE);
        Make(L"BUTTON", m_shared.Word(SettingsWord::Copy), WS_TABSTOP, kMargin + 276, row, 40, kControlHeight,
             kCopyControl + i);
    }
    // The codes: square, side by side, as large as the rest of the page allows.
    const int top = y + 2 * kRowHeight + 2, side = kPageHeight - kRowHeight - 6 - top;
    for (int i = 0; i < 2; ++i)
        Make(L"STATIC", "", SS_OWNERDRAW, kMargin + 96 + i * (side + 24), top, side, side, kControlCode + i);
}

// Empty while remote control is off: a link then leads nowhere.
std::string SettingsPageWnd::LinkFor(const char* key) const {
    const auto value = [this](const char* name) {
        for (const Row& row : m_rows)
            if (row.field->key == std::string(name)) return ValueOf(row);
        return std::string();
    };
    const std::string mode = value(k::kRemote), bind = value(k::kRemoteBind), secret = value(key);
    if ((mode != "local" && mode != "lan") || secret.empty()) return {};
    std::string host = "127.0.0.1";
    if (mode == "lan")
        host = !bind.empty() ? bind : !m_shared.input.addresses.empty() ? m_shared.input.addresses[0] : host;
    const std::string path = key == std::string(k::kRemoteKey) ? "/?key=" : "/view?key=";
    return "http://" + host + ":" + value(k::kRemotePort) + path + secret;
}

void SettingsPageWnd::UpdateLinks() {
    const std::string control = LinkFor(k::kRemoteKey), view = LinkFor(k::kRemoteViewKey);
    SetWindowTextW(m_controlLink,
                   Widen(control.empty() ? m_shared.Word(SettingsWord::RemoteOffLinks) : control).c_str());
    SetWindowTextW(m_viewLink, Widen(view).c_str());
    for (const int id : {kControlCode, kViewCode}) InvalidateRect(GetDlgItem(m_hwnd, id), nullptr, TRUE);
}

void SettingsPageWnd::OnDrawCode(const DRAWITEMSTRUCT& item) {
    const bool control = item.CtlID == static_cast<UINT>(kControlCode);
    if (!control && item.CtlID != static_cast<UINT>(kViewCode)) return;
    const std::string link = LinkFor(control ? k::kRemoteKey : k::kRemoteViewKey);
    const std::optional<QrMatrix> code = link.empty() ? std::nullopt : EncodeQr(link);
    if (!code || !PaintQr(item.hDC, item.rcItem, *code))
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace tallyglass
