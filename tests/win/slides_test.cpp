// The slide show's watcher against a fake PowerPoint in another process (see
// fake_powerpoint_win.cpp), found as PowerPoint is: its program id, registered here
// for the test, and the running object table.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <sstream>
#include <string>

#include "framework/handles_win.h"
#include "slides/slide_show_watcher_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
constexpr wchar_t kFakeClsid[] = L"{6F1B2C3D-7A4E-4B5F-9C8D-0E1F2A3B4C5D}";
constexpr DWORD kSeenBoundMs = 5000;
constexpr DWORD kAnswerBoundMs = 10000;

// PowerPoint.Application -> the fake's class, in the prefix's registry for one test. In
// HKEY_CLASSES_ROOT: Wine's CLSIDFromProgID (8.0) does not read HKCU\Software\Classes.
class PowerPointProgId {
public:
    PowerPointProgId() {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L"PowerPoint.Application\\CLSID", 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        const RegistryKey owned(key);
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kFakeClsid), sizeof kFakeClsid);
    }
    ~PowerPointProgId() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"PowerPoint.Application"); }
    PowerPointProgId(const PowerPointProgId&) = delete;
    PowerPointProgId& operator=(const PowerPointProgId&) = delete;
};

// The fake, started with pipes for its commands and answers; every wait on it is bounded.
class FakePowerPoint {
public:
    explicit FakePowerPoint(const std::wstring& arguments = L"") {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childIn = nullptr, toChild = nullptr, fromChild = nullptr, childOut = nullptr;
        if (!CreatePipe(&childIn, &toChild, &inherit, 0)) return;
        const KernelHandle childInOwned(childIn);
        m_toChild = KernelHandle(toChild);
        if (!CreatePipe(&fromChild, &childOut, &inherit, 0)) return;
        const KernelHandle childOutOwned(childOut);
        m_fromChild = KernelHandle(fromChild);
        SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring path(exe);
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"fake_powerpoint.exe";
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childIn;
        startup.hStdOutput = childOut;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &process))
            return;
        m_process = KernelHandle(process.hProcess);
        const KernelHandle thread(process.hThread);
        m_greeting = Line(20000);
        m_ready = m_greeting == "ready";
    }
    ~FakePowerPoint() {
        if (!m_process) return;
        Tell("quit");
        if (WaitForSingleObject(m_process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(m_process.get(), 1);
    }
    FakePowerPoint(const FakePowerPoint&) = delete;
    FakePowerPoint& operator=(const FakePowerPoint&) = delete;

    bool Ready() const { return m_ready; }
    const std::string& Greeting() const { return m_greeting; }
    // One command and its answer line.
    std::string Ask(const std::string& command) {
        Tell(command);
        return Line(kAnswerBoundMs);
    }
    // Every member's calls answered since the last "zero".
    std::map<std::string, uint64_t> Counts() {
        std::istringstream words(Ask("counts"));
        std::map<std::string, uint64_t> counts;
        std::string word;
        words >> word;
        while (words >> word)
            if (const size_t equals = word.find('='); equals != std::string::npos)
                counts[word.substr(0, equals)] = std::stoull(word.substr(equals + 1));
        return counts;
    }
    void Kill() {
        TerminateProcess(m_process.get(), 9);
        WaitForSingleObject(m_process.get(), 5000);
    }

private:
    void Tell(const std::string& command) {
        const std::string line = command + "\n";
        DWORD written = 0;
        WriteFile(m_toChild.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    std::string Line(DWORD boundMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            if (const size_t end = m_pending.find('\n'); end != std::string::npos) {
                std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                return line;
            }
            DWORD available = 0;
            if (!PeekNamedPipe(m_fromChild.get(), nullptr, 0, nullptr, &available, nullptr)) return "<closed>";
            if (available == 0) {
                if (GetTickCount() - start > boundMs) return "<no answer>";
                Sleep(10);
                continue;
            }
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(m_fromChild.get(), buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr))
                return "<closed>";
            m_pending.append(buffer, got);
        }
    }

    KernelHandle m_toChild, m_fromChild, m_process;
    std::string m_pending, m_greeting;
    bool m_ready = false;
};

// What the watcher told, from its thread.
class SeenLog {
public:
    SlideShowWatcher::SeenCallback Callback() {
        return [this](const SlideShowSeen& seen) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_last = seen;
            ++m_told;
        };
    }
    SlideShowSeen Last() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_last;
    }
    int Told() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_told;
    }
    // Until the last one told meets the condition, within the bound.
    bool WaitFor(const std::function<bool(const SlideShowSeen&)>& condition, DWORD boundMs = kSeenBoundMs) {
        return PumpUntil([&] { return condition(Last()); }, boundMs);
    }

private:
    std::mutex m_lock;
    SlideShowSeen m_last;
    int m_told = 0;
};

SlideShowWatchTiming Quick() {
    SlideShowWatchTiming timing;
    timing.periodMs = 100;
    return timing;
}

bool RunningOn(const SlideShowSeen& seen, int32_t slide) {
    return seen.source == SlideShowSeen::Source::Automation && seen.running && seen.slideIndex == slide;
}

// Until the watcher has run `rounds` more rounds, within the bound.
bool AwaitRounds(const SlideShowWatcher& watcher, uint64_t rounds, DWORD boundMs = kSeenBoundMs) {
    const uint64_t until = watcher.Rounds() + rounds;
    return PumpUntil([&] { return watcher.Rounds() >= until; }, boundMs);
}

uint64_t Sum(const std::map<std::string, uint64_t>& counts) {
    uint64_t sum = 0;
    for (const auto& [member, count] : counts)
        if (member != "rejected") sum += count;
    return sum;
}

DWORD MillisecondsOf(const std::function<void()>& action) {
    const DWORD start = GetTickCount();
    action();
    return GetTickCount() - start;
}

void LoadDeck(FakePowerPoint& fake) {
    ASSERT_EQ("ok", fake.Ask("name Pacing talk.pptx"));
    ASSERT_EQ("ok", fake.Ask("slide 0 [2:00] Intro\\nWelcome, everyone"));
    ASSERT_EQ("ok", fake.Ask("slide 1 [0:30] spare slide"));
    ASSERT_EQ("ok", fake.Ask("slideb 0 [90s] body first, the slide number second"));
    ASSERT_EQ("ok", fake.Ask("slide 0 "));
}
}  // namespace

// Begin, slides, the black slide at the end, and the end: what a show through
// automation looks like to the clock, and what watching it costs per round.
TEST(SlidesWatcher, FollowsAShowThroughAutomation) {
    PowerPointProgId progId;
    FakePowerPoint fake;
    ASSERT_TRUE(fake.Ready()) << fake.Greeting();
    LoadDeck(fake);
    SeenLog log;
    SlideShowWatcher watcher(log.Callback(), Quick());
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return s.source == SlideShowSeen::Source::Automation; }))
        << "PowerPoint without a show was not seen through automation";
    EXPECT_FALSE(log.Last().running);

    ASSERT_EQ(0u, fake.Ask("begin").find("ok "));
    // The show's window comes to the front a moment after the show begins when the machine is busy.
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) {
        return RunningOn(s, 1) && s.slides.size() == 4 && s.foreground;
    })) << "the show's window was not seen put in front";
    const SlideShowSeen begun = log.Last();
    EXPECT_EQ("Pacing talk.pptx", begun.deckName);
    EXPECT_EQ("[2:00] Intro\nWelcome, everyone", begun.slides[0].notes);
    EXPECT_TRUE(begun.slides[1].hidden);
    EXPECT_FALSE(begun.slides[0].hidden || begun.slides[2].hidden || begun.slides[3].hidden);
    EXPECT_EQ("[90s] body first, the slide number second", begun.slides[2].notes) << "the body is found by its type";
    EXPECT_EQ("", begun.slides[3].notes);

    ASSERT_EQ("ok", fake.Ask("goto 1 4"));  // a slide moved to (the next one's is the e2e slides.sh's)
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 4); }));

    // A steady show: what one round costs, and no deck read again.
    ASSERT_TRUE(AwaitRounds(watcher, 2));
    ASSERT_EQ("ok", fake.Ask("zero"));
    const uint64_t roundsBefore = watcher.Rounds();
    ASSERT_TRUE(AwaitRounds(watcher, 10));
    const std::map<std::string, uint64_t> steady = fake.Counts();
    const double rounds = static_cast<double>(watcher.Rounds() - roundsBefore);
    std::printf("slides: a steady show costs %.1f calls a round\n", Sum(steady) / rounds);
    EXPECT_EQ(0u, steady.count("Hidden") + steady.count("Text") + steady.count("GetIDsOfNames"))
        << "the deck is read again, or names asked again, at every round";
    EXPECT_LE(Sum(steady), static_cast<uint64_t>(7 * (rounds + 1)));

    ASSERT_EQ("ok", fake.Ask("goto 1 0"));  // the black slide after the last
    ASSERT_TRUE(AwaitRounds(watcher, 3));
    EXPECT_TRUE(RunningOn(log.Last(), 4)) << "the black slide keeps the last slide and the show running";
    ASSERT_EQ("ok", fake.Ask("end"));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) {
        return s.source == SlideShowSeen::Source::Automation && !s.running && s.slides.empty() && s.slideIndex == 0;
    }));
}

// The deck read again when its slide count changes, closed mid-show, a deck of one slide,
// and of the two shows the one in front.
TEST(SlidesWatcher, FollowsTheDeckAndTheShowInFront) {
    PowerPointProgId progId;
    FakePowerPoint fake;
    ASSERT_TRUE(fake.Ready()) << fake.Greeting();
    ASSERT_EQ("ok", fake.Ask("slide 0 [1:00] only slide"));
    SeenLog log;
    SlideShowWatcher watcher(log.Callback(), Quick());
    ASSERT_EQ(0u, fake.Ask("begin").find("ok "));
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 1) && s.slides.size() == 1; }));

    ASSERT_EQ("ok", fake.Ask("slide 0 [0:45] added during the show"));
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return s.slides.size() == 2; }));
    EXPECT_EQ("[0:45] added during the show", log.Last().slides[1].notes);

    const std::string second = fake.Ask("begin");  // a second show, in front
    ASSERT_EQ(0u, second.find("ok "));
    ASSERT_EQ("ok", fake.Ask("goto 2 2"));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 2); })) << "the show in front counts";
    ASSERT_EQ("ok", fake.Ask("front 1"));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 1); }));
    ASSERT_EQ("ok", fake.Ask("end 1"));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 2); }));

    ASSERT_EQ("ok", fake.Ask("close"));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return !s.running && s.slides.empty(); }));
    const uint64_t rounds = watcher.Rounds();
    EXPECT_TRUE(AwaitRounds(watcher, 3)) << "rounds stopped after the deck closed (" << rounds << ")";
}

// A PowerPoint that refuses calls costs rounds, not waits, and is caught up with after;
// one that hangs, or is ended from outside, never holds the watcher's owner.
TEST(SlidesWatcher, BusyHungOrEndedPowerPointNeverHoldsTheClock) {
    PowerPointProgId progId;
    auto fake = std::make_unique<FakePowerPoint>();
    ASSERT_TRUE(fake->Ready()) << fake->Greeting();
    LoadDeck(*fake);
    ASSERT_EQ(0u, fake->Ask("begin").find("ok "));
    SeenLog log;
    const long handlesBefore = handles::LiveCount();
    auto watcher = std::make_unique<SlideShowWatcher>(log.Callback(), Quick());
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 1) && s.slides.size() == 4; }));

    ASSERT_EQ("ok", fake->Ask("reject on"));
    ASSERT_EQ("ok", fake->Ask("goto 1 3"));
    EXPECT_TRUE(AwaitRounds(*watcher, 5, 3000)) << "rounds stalled while PowerPoint refused calls";
    EXPECT_TRUE(RunningOn(log.Last(), 1)) << "a refused round changes nothing";
    ASSERT_EQ("ok", fake->Ask("reject off"));
    EXPECT_GT(fake->Counts()["rejected"], 4u);
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 3) && s.slides.size() == 4; }));

    // Hung: the owner's destructor returns within its bound whatever the thread is in.
    ASSERT_EQ("ok", fake->Ask("hang on"));
    ASSERT_EQ("ok", fake->Ask("goto 1 4"));  // the reader thread answers; the main thread waits
    // Windows ends a call at its bound and the rounds go on; Wine waits for the answer.
    const uint64_t roundsBefore = watcher->Rounds();
    Sleep(1500);
    std::printf("slides: %llu rounds ran in 1.5 s against a hung PowerPoint\n",
                static_cast<unsigned long long>(watcher->Rounds() - roundsBefore));
    const DWORD hungStop = MillisecondsOf([&] { watcher.reset(); });
    std::printf("slides: the watcher's destructor took %lu ms against a hung PowerPoint\n",
                static_cast<unsigned long>(hungStop));
    EXPECT_LT(hungStop, 3000u);
    ASSERT_EQ("ok", fake->Ask("hang off"));
    EXPECT_TRUE(PumpUntil([&] { return handles::LiveCount() == handlesBefore; }, kSeenBoundMs))
        << "the thread left to end did not end, or left its handles, once PowerPoint answered";

    // Ended from outside: seen as no show, and found again once a PowerPoint is back.
    watcher = std::make_unique<SlideShowWatcher>(log.Callback(), Quick());
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 4); }));
    fake->Kill();
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return !s.running; })) << "a killed PowerPoint still runs";
    EXPECT_TRUE(AwaitRounds(*watcher, 3, 3000)) << "rounds stalled after PowerPoint was ended";
    fake = std::make_unique<FakePowerPoint>();
    ASSERT_TRUE(fake->Ready()) << fake->Greeting();
    ASSERT_EQ("ok", fake->Ask("slide 0 again"));
    ASSERT_EQ(0u, fake->Ask("begin").find("ok "));
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return RunningOn(s, 1) && s.slides.size() == 1; }))
        << "a new PowerPoint was not found again";
    const DWORD stop = MillisecondsOf([&] { watcher.reset(); });
    EXPECT_LT(stop, 3000u);
}

// No PowerPoint in the running object table: the show's full-screen window alone, found
// by each round's own check, and at once when the shell's foreground hook hands it over.
TEST(SlidesWatcher, FallsBackToTheShowWindow) {
    FakePowerPoint fake(L"--no-rot");
    ASSERT_TRUE(fake.Ready()) << fake.Greeting();
    ASSERT_EQ("ok", fake.Ask("slide 0 [1:00] unseen notes"));
    SeenLog log;
    SlideShowWatcher watcher(log.Callback(), Quick());
    SlideShowWatchTiming slow;
    slow.periodMs = 60000;
    SeenLog fedLog;
    SlideShowWatcher fed(fedLog.Callback(), slow);  // rounds only when woken after its first
    ASSERT_TRUE(AwaitRounds(watcher, 2));
    ASSERT_TRUE(PumpUntil([&] { return fed.Rounds() >= 1; }, kSeenBoundMs)) << "a watcher's first round comes at once";
    EXPECT_EQ(0, log.Told() + fedLog.Told()) << "nothing to tell while nothing runs";

    const std::string begun = fake.Ask("begin");
    ASSERT_EQ(0u, begun.find("ok "));
    ASSERT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return s.running; })) << "the round's check missed the show";
    const SlideShowSeen seen = log.Last();
    EXPECT_EQ(SlideShowSeen::Source::Window, seen.source);
    EXPECT_TRUE(seen.foreground);
    EXPECT_EQ(0, seen.slideIndex);
    EXPECT_TRUE(seen.slides.empty());

    const HWND show = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(begun.substr(3))));
    fed.OnForeground(show);  // as the shell's foreground hook would
    EXPECT_TRUE(fedLog.WaitFor([](const SlideShowSeen& s) { return s.running && s.foreground; }))
        << "a foreground change did not bring a round at once";

    ASSERT_EQ("ok", fake.Ask("end"));  // no foreground event: the round's own check sees it
    EXPECT_TRUE(log.WaitFor([](const SlideShowSeen& s) { return !s.running; }));
    EXPECT_EQ(SlideShowSeen::Source::None, log.Last().source);
}
