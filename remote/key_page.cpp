#include "remote/key_page.h"

namespace tallyglass {

namespace {
constexpr std::string_view kEnglishLang = "<html lang=\"en\">";

struct KeyWords {
    const char* lang;
    const char* title;
    const char* missing;
    const char* wrong;
    const char* lockedOut;
    const char* where;
};

constexpr KeyWords kEnglish{
    "en",
    "Tallyglass Countdown",
    "This page needs the clock's key.",
    "This key is not the clock's, or the clock has a new one.",
    "Too many wrong keys from this device: wait a minute, then open a link from the clock.",
    "On the PC with the clock, right-click the clock and choose About: it shows the control link and the view "
    "link. Open one of them on this device (or scan its code), and the page remembers the key."};

constexpr KeyWords kChinese{"zh-CN",
                            "Tallyglass 倒计时",
                            "此页面需要时钟的密钥。",
                            "此密钥不是该时钟的，或时钟已换了新密钥。",
                            "此设备输错密钥次数过多：请等一分钟，再打开时钟给出的链接。",
                            "在运行时钟的电脑上，右键单击时钟并选择“关于”：那里有控制链接和查看链接。"
                            "在此设备上打开其中一个（或扫描其二维码），页面会记住密钥。"};
}  // namespace

std::string PageInLanguage(std::string page, std::string_view language) {
    if (language != "zh") return page;
    const size_t at = page.find(kEnglishLang);
    if (at != std::string::npos) page.replace(at, kEnglishLang.size(), "<html lang=\"zh-CN\">");
    return page;
}

std::string KeyPage(KeyTrouble trouble, std::string_view language) {
    const KeyWords& words = language == "zh" ? kChinese : kEnglish;
    const char* why = trouble == KeyTrouble::Missing ? words.missing
                      : trouble == KeyTrouble::Wrong ? words.wrong
                                                     : words.lockedOut;
    return std::string("<!DOCTYPE html><html lang=\"") + words.lang +
           "\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width, "
           "initial-scale=1\"><title>" +
           words.title +
           "</title><style>body{margin:0;background:#111;color:#eee;font:18px/1.45 system-ui,sans-serif}"
           "main{max-width:34rem;margin:12vh auto;padding:0 1.2rem}h1{font-size:1.5rem;color:#fff}"
           "p{color:#ddd}</style></head><body><main><h1>" +
           why + "</h1><p>" + words.where + "</p></main></body></html>";
}

}  // namespace tallyglass
