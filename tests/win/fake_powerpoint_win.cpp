// A stand-in for PowerPoint: a COM local server that registers its Application in the
// running object table under the class PowerPoint.Application names, answers the
// part of the object model the slide show's watcher walks (fake_deck_win), and shows
// a full-screen window of class screenClass while a show runs.
//
// Usage: fake_powerpoint [--no-rot]. Lines on stdin, each answered on stdout:
//   slide H NOTES | slideb H NOTES  a slide, hidden when H is 1; "\n" in NOTES is a line
//                                    break; slideb: its notes page has the body first,
//                                    then the slide number
//   name NAME                        the deck's name
//   begin                            a show on the first slide not hidden ("ok HWND")
//   goto S N | next | end [S]        show S on slide N (0: the black slide); show 1 on;
//                                    end show S, or all
//   front S                          show S's window to the foreground
//   close                            the deck closed: every show ends, no slides
//   reject on|off                    every call refused (SERVERCALL_REJECTED)
//   hang on|off                      every call waits, up to 30 s
//   counts | zero                    the calls answered per member, or a new count
//   quit
// It prints "ready" once registered (or "error ..."), then "ok ..." per line.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "framework/com_win.h"
#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "tests/win/fake_deck_win.h"

using namespace tallyglass;

namespace {
constexpr UINT kCommandMessage = WM_APP + 1;

std::mutex g_outputLock;
std::atomic<bool> g_reject{false};
std::atomic<uint64_t> g_rejected{0};

void Say(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_outputLock);
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int Fail(const char* what) {
    Say(std::string("error ") + what);
    return 1;
}

// Refuses every incoming call while asked to, as PowerPoint does while busy. Wine
// honours SERVERCALL_REJECTED; PowerPoint answers SERVERCALL_RETRYLATER, which Wine
// does not carry out (combase rpc.c: "retry call later not implemented").
class BusyFilter : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id != IID_IUnknown && id != IID_IMessageFilter) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        if (!g_reject) return SERVERCALL_ISHANDLED;
        ++g_rejected;
        return SERVERCALL_REJECTED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};

// RegisterActiveObject / RevokeActiveObject.
class ActiveObject {
public:
    ActiveObject(IUnknown* object, const CLSID& clsid) {
        m_registered = SUCCEEDED(RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &m_cookie));
    }
    ~ActiveObject() {
        if (m_registered) RevokeActiveObject(m_cookie, nullptr);
    }
    ActiveObject(const ActiveObject&) = delete;
    ActiveObject& operator=(const ActiveObject&) = delete;
    bool Registered() const { return m_registered; }

private:
    DWORD m_cookie = 0;
    bool m_registered = false;
};

LRESULT CALLBACK ShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'r')) {
            out += text[++i] == 'n' ? '\n' : '\r';
        } else {
            out += text[i];
        }
    }
    return Widen(out);
}

class FakeProcess {
public:
    explicit FakeProcess(std::shared_ptr<FakeDeck> deck) : m_deck(std::move(deck)) {
        WNDCLASSEXW showClass{};
        showClass.cbSize = sizeof showClass;
        showClass.lpfnWndProc = &ShowProc;
        showClass.hInstance = GetModuleHandleW(nullptr);
        showClass.lpszClassName = L"screenClass";
        showClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        m_class = std::make_unique<WindowClass>(showClass);
    }
    ~FakeProcess() { EndShows(0); }
    FakeProcess(const FakeProcess&) = delete;
    FakeProcess& operator=(const FakeProcess&) = delete;

    std::string Run(const std::string& line);

private:
    int32_t FirstShown(int32_t from) const {
        for (int32_t i = from; i <= static_cast<int32_t>(m_deck->slides.size()); ++i)
            if (!m_deck->slides[static_cast<size_t>(i - 1)].hidden) return i;
        return 0;
    }
    std::string Begin();
    void EndShows(size_t show);
    std::string Counts() const;

    std::shared_ptr<FakeDeck> m_deck;
    std::unique_ptr<WindowClass> m_class;
    std::vector<OwnedWindow> m_windows;  // one per show, as m_deck->shows
};

std::string FakeProcess::Begin() {
    const HWND window =
        CreateWindowExW(WS_EX_TOPMOST, L"screenClass", L"PowerPoint Slide Show - Talk.pptx", WS_POPUP | WS_VISIBLE, 0,
                        0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    if (!window) return "error no window";
    m_windows.emplace_back(window);
    m_deck->shows.push_back(FakeShow{window, FirstShown(1)});
    SetForegroundWindow(window);
    std::ostringstream answer;
    answer << "ok " << reinterpret_cast<uintptr_t>(window);
    return answer.str();
}

void FakeProcess::EndShows(size_t show) {
    if (show == 0) {
        m_deck->shows.clear();
        m_windows.clear();
    } else if (show <= m_windows.size()) {
        m_deck->shows.erase(m_deck->shows.begin() + static_cast<ptrdiff_t>(show - 1));
        m_windows.erase(m_windows.begin() + static_cast<ptrdiff_t>(show - 1));
    }
}

std::string FakeProcess::Counts() const {
    std::string line = "counts";
    for (const auto& [member, count] : m_deck->calls) line += " " + Narrow(member) + "=" + std::to_string(count);
    return line + " rejected=" + std::to_string(g_rejected.load());
}

std::string FakeProcess::Run(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    int32_t a = 0, b = 0;
    if (verb == "slide" || verb == "slideb") {
        FakeSlide slide;
        words >> a;
        std::string notes;
        std::getline(words >> std::ws, notes);
        slide.hidden = a != 0;
        slide.notes = Unescaped(notes);
        slide.bodyFirst = verb == "slideb";
        m_deck->slides.push_back(slide);
    } else if (verb == "name") {
        std::string name;
        std::getline(words >> std::ws, name);
        m_deck->name = Widen(name);
    } else if (verb == "begin") {
        return Begin();
    } else if (verb == "goto" && words >> a >> b && a >= 1 && static_cast<size_t>(a) <= m_deck->shows.size()) {
        m_deck->shows[static_cast<size_t>(a - 1)].slide = b;
    } else if (verb == "next" && !m_deck->shows.empty()) {
        FakeShow& show = m_deck->shows.front();
        show.slide = show.slide ? FirstShown(show.slide + 1) : 0;
    } else if (verb == "end") {
        EndShows(words >> a ? static_cast<size_t>(a) : 0);
    } else if (verb == "front" && words >> a && a >= 1 && static_cast<size_t>(a) <= m_windows.size()) {
        SetForegroundWindow(m_windows[static_cast<size_t>(a - 1)].get());
    } else if (verb == "close") {
        EndShows(0);
        m_deck->slides.clear();
    } else if (verb == "counts") {
        return Counts();
    } else if (verb == "zero") {
        m_deck->calls.clear();
        g_rejected = 0;
    } else {
        return "error " + line;
    }
    return "ok";
}

struct Reader {
    DWORD mainThread;
    std::shared_ptr<FakeDeck> deck;
};

// Busy states are set here, not on the main thread, which a hung call holds.
bool RunOnReader(const std::string& line, FakeDeck& deck) {
    if (line == "reject on" || line == "reject off") {
        g_reject = line == "reject on";
    } else if (line == "hang on") {
        ResetEvent(deck.unhang);
        deck.hanging = true;
    } else if (line == "hang off") {
        deck.hanging = false;
        SetEvent(deck.unhang);
    } else {
        return false;
    }
    Say("ok");
    return true;
}

DWORD WINAPI ReadCommands(void* parameter) {
    const std::unique_ptr<Reader> reader(static_cast<Reader*>(parameter));
    std::string pending;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            std::string line = pending.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (RunOnReader(line, *reader->deck)) continue;
            auto posted = std::make_unique<std::string>(line);
            if (PostThreadMessageW(reader->mainThread, kCommandMessage, 0, reinterpret_cast<LPARAM>(posted.get())))
                posted.release();
        }
    }
    PostThreadMessageW(reader->mainThread, WM_QUIT, 0, 0);
    return 0;
}

int Serve(bool registerInRot) {
    ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.Entered()) return Fail("CoInitializeEx");
    BusyFilter filter;
    ComPtr<IMessageFilter> previous;
    CoRegisterMessageFilter(&filter, previous.Receive());
    auto deck = std::make_shared<FakeDeck>();
    const KernelHandle unhang(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    deck->unhang = unhang.get();
    FakeProcess process(deck);
    const ComPtr<IDispatch> application = FakeApplication(deck);
    std::unique_ptr<ActiveObject> active;
    if (registerInRot) {
        CLSID clsid{};
        if (FAILED(CLSIDFromProgID(L"PowerPoint.Application", &clsid))) return Fail("CLSIDFromProgID");
        active = std::make_unique<ActiveObject>(application.get(), clsid);
        if (!active->Registered()) return Fail("RegisterActiveObject");
    }
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before the reader posts to it
    auto readerState = std::make_unique<Reader>(Reader{GetCurrentThreadId(), deck});
    const KernelHandle reader(CreateThread(nullptr, 0, &ReadCommands, readerState.get(), 0, nullptr));
    if (reader) readerState.release();  // the thread owns it now
    Say("ready");
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kCommandMessage && !msg.hwnd) {
            const std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(msg.lParam));
            if (*line == "quit") break;
            Say(process.Run(*line));
        } else {
            DispatchMessageW(&msg);
        }
    }
    deck->hanging = false;
    SetEvent(unhang.get());
    Say("bye");
    return 0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool registerInRot = !(argc > 1 && std::wstring(argv[1]) == L"--no-rot");
    const int status = Serve(registerInRot);
    // The reader may still wait on stdin: the process ends it.
    ExitProcess(static_cast<UINT>(status));
}
