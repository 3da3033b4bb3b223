#include <gtest/gtest.h>

#include "clock/clock_snapshot.h"
#include "command/message_text.h"
#include "remote/access_keys.h"
#include "remote/batch_queue.h"
#include "remote/http_route.h"
#include "remote/key_page.h"
#include "remote/remote_plan.h"
#include "remote/state_json.h"

using namespace tallyglass;

namespace {

// One row per rule of the API: the method and target as sent, and what answers them.
TEST(RemoteRoute, EachPathMethodAndWordGetsItsAnswer) {
    struct Case {
        const char* method;
        const char* target;
        RouteKind kind;
        int status;
        const char* word;
    };
    const Case cases[] = {
        {"GET", "/api/v1/state?key=k", RouteKind::State, 200, ""},
        {"POST", "/api/v1/start", RouteKind::Order, 200, ""},
        {"GET", "/api/v1/message?key=k&text=Wrap+up%21", RouteKind::Order, 200, ""},
        {"GET", "/", RouteKind::ControlPage, 200, ""},
        {"GET", "/view?key=k", RouteKind::ViewPage, 200, ""},
        {"GET", "/overlay?key=k", RouteKind::OverlayPage, 200, ""},
        {"POST", "/overlay", RouteKind::Error, 405, ""},
        {"GET", "/api/v1/ws", RouteKind::WebSocket, 200, ""},
        {"GET", "/api/v1/add/ten", RouteKind::Error, 400, "ten"},
        {"GET", "/api/v1/set/%zz", RouteKind::Error, 400, "%zz"},
        {"GET", "/api/v1/message", RouteKind::Error, 400, "text"},
        {"GET", "/api/v1/stop", RouteKind::Error, 404, ""},
        {"GET", "/api/v1/start/now", RouteKind::Error, 404, ""},
        {"GET", "/api/v1/message/hello", RouteKind::Error, 404, ""},
        {"GET", "/api/v1/add", RouteKind::Error, 404, ""},
        {"GET", "/api/v1/add/1/2", RouteKind::Error, 404, ""},
        {"GET", "/api/v2/state", RouteKind::Error, 404, ""},
        {"DELETE", "/api/v1/reset", RouteKind::Error, 405, ""},
        {"PUT", "/api/v1/add/x", RouteKind::Error, 405, ""},
        {"POST", "/api/v1/ws", RouteKind::Error, 405, ""},
        {"POST", "/view", RouteKind::Error, 405, ""},
    };
    for (const Case& c : cases) {
        const Route route = RouteRequest(c.method, c.target);
        SCOPED_TRACE(std::string(c.method) + " " + c.target);
        ASSERT_EQ(route.kind, c.kind);
        if (c.kind == RouteKind::Error) {
            EXPECT_EQ(route.status, c.status);
            EXPECT_EQ(route.word, c.word);
        }
    }
    EXPECT_EQ(RouteRequest("GET", "/api/v1/message?text=Wrap+up%21").command.text, "Wrap up!");
    EXPECT_EQ(RouteRequest("GET", "/api/v1/message?text=").command.kind, tallyglass::CommandKind::ClearMessage);
}

TEST(RemoteKeys, TheKeyComesFromTheQueryTheBearerOrTheCookieAndOnlyAnExactOneCounts) {
    EXPECT_EQ(PresentedKey("/api/v1/state?a=1&key=q%2Dk", "Bearer b", "tallyglass_key=c"), "q-k");
    EXPECT_EQ(PresentedKey("/api/v1/state", "  Bearer b  ", "tallyglass_key=c"), "b");
    EXPECT_EQ(PresentedKey("/", "Basic b", "other=1; tallyglass_key=c"), "c");
    // The view page's cookie is its own: the control page open in the same browser keeps its key.
    const char* both = "tallyglass_view=v; tallyglass_key=c";
    EXPECT_EQ(PresentedKey("/view", "", both), "v");
    EXPECT_EQ(PresentedKey("/api/v1/ws?page=view", "", both), "v");
    EXPECT_EQ(PresentedKey("/api/v1/ws", "", both), "c");
    EXPECT_EQ(PresentedKey("/", "", "xtallyglass_key=c"), "");
    const AccessKeys keys{"control-key", "view-key-1"};
    EXPECT_EQ(AccessFor(keys, "control-key"), Access::Control);
    EXPECT_EQ(AccessFor(keys, "view-key-1"), Access::View);
    for (const char* wrong : {"", "control-ke", "control-keyy", "Control-key", "view-key-2"})
        EXPECT_EQ(AccessFor(keys, wrong), Access::None) << wrong;
    EXPECT_EQ(AccessFor(AccessKeys{"", ""}, ""), Access::None);
    const uint8_t zeros[16] = {},
                  ones[16] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(KeyText(zeros), std::string(22, 'A'));
    EXPECT_EQ(KeyText(ones), std::string(21, '_') + "w");
}

// Wrong keys in steps: the tenth within a minute locks its address for a minute and no
// other; a right key clears the count; a flood over all addresses refuses every wrong key
// for ten seconds; and a new address still counts after 4,096 others.
TEST(RemoteKeys, WrongKeysLockTheirAddressAndAFloodLocksAllWrongKeys) {
    using V = LockOut::Verdict;
    LockOut lockOut;
    const auto fails = [&lockOut](const std::string& address, uint64_t from, int times, uint64_t stepMs = 0) {
        std::vector<V> verdicts;
        for (int i = 0; i < times; ++i) verdicts.push_back(lockOut.Failed(address, from + i * stepMs));
        return verdicts;
    };
    EXPECT_EQ(fails("A", 1000, 9, 6000), std::vector<V>(9, V::Counted));
    EXPECT_EQ(lockOut.Failed("A", 59'999), V::LockedNow);
    EXPECT_EQ(lockOut.Failed("A", 60'000), V::Refused);
    EXPECT_EQ(lockOut.Failed("B", 60'000), V::Counted);
    EXPECT_EQ(lockOut.Failed("A", 119'998), V::Refused);
    EXPECT_EQ(lockOut.Failed("A", 119'999), V::Counted);
    lockOut.Passed("A");
    EXPECT_EQ(fails("A", 120'000, 9), std::vector<V>(9, V::Counted));
    EXPECT_EQ(lockOut.Failed("A", 120'001), V::LockedNow);
    EXPECT_EQ(fails("C", 200'000, 9).back(), V::Counted);
    EXPECT_EQ(lockOut.Failed("C", 260'000), V::Counted);  // a new minute
    std::vector<V> flood;
    for (int i = 0; i < 51; ++i) flood.push_back(lockOut.Failed("10.1.0." + std::to_string(i), 500'000 + i));
    EXPECT_EQ(flood.back(), V::Refused);
    EXPECT_EQ(flood[49], V::Counted);
    EXPECT_EQ(lockOut.Failed("fresh", 509'000), V::Refused);
    EXPECT_EQ(lockOut.Failed("fresh", 510'100), V::Counted);
    for (int i = 0; i < 4096; ++i) lockOut.Failed("10.2." + std::to_string(i), 1'000'000 + i * 25);
    EXPECT_EQ(fails("Z", 1'200'000, 10).back(), V::LockedNow);
}

TEST(RemoteState, TheSnapshotFollowsThePhaseAndCountsToItsEnd) {
    CountdownModel m;
    m.m_countdownSeconds = 300;
    m.m_alertSeconds = 10;
    m.m_remaining = 300;
    m.m_colorNormal = 0xFF102030;
    m.m_colorAlert = 0xFF102030;  // the title's colour
    m.m_message = "Wrap up";
    m.m_show = {{"Welcome", 300, 9 * 3600 + 30 * 60}, {"Keynote", 1800, std::nullopt}};
    m.m_titleText = "Hall A";
    m.m_fontName = "Arial";
    m.m_alertText = "TIME UP";
    m.m_messagePresetText = " Wrap up |\x01|| Slow\tdown|";
    m.m_flashSteps = 3;
    m.m_blackout = 1;
    // Two minutes after the show's planned start, still idle: two minutes late.
    ClockSnapshot s = SnapshotOf(m, 1'000'000, 400, "1.2.3", 9 * 3600 + 32 * 60);
    EXPECT_EQ(s.phase, "idle");
    EXPECT_EQ(s.remaining, 300);
    EXPECT_FALSE(s.endsAtMs);
    EXPECT_EQ(
        StateJson(s, false, false),
        R"({"alertLength":10,"alertText":"TIME UP","blackout":true,"changed":false,"color":"#FF102030",)"
        R"("control":false,"elapsed":0,"endsAt":null,"face":"remaining","flash":true,"fontName":"Arial",)"
        R"("language":"en","length":300,"message":"Wrap up","nextSegment":"Keynote","offset":120,"pace":null,"paused":false,)"
        R"("phase":"idle","plannedEnd":1180000,"plannedStart":880000,"presets":["Wrap up","Slowdown"],)"
        R"("remaining":300,"segment":"Welcome","segmentCount":2,"segmentNumber":1,)"
        R"("segments":[{"length":300,"name":"Welcome","plannedStart":"09:30"},)"
        R"({"length":1800,"name":"Keynote","plannedStart":"09:35"}],"serverTime":1000000,"showEndsAt":3100000,)"
        R"("slide":null,"slideCount":null,)"
        R"("text":"Hall A","version":"1.2.3","warnSeconds":0})");
    EXPECT_EQ(MessagePresets(std::string(13, '|') + "a|b|c|d|e|f|g|h|i|j|k|l|m").size(), kMaxMessagePresets);
    m.m_show.clear();
    m.m_titleText.clear();
    m.m_running = 1;
    m.m_remaining = 61;
    m.m_warnSeconds = 60;
    s = SnapshotOf(m, 1'000'000, 400, "1.2.3");
    EXPECT_EQ(s.phase, "counting");
    EXPECT_EQ(s.endsAtMs, 1'000'000 + 400 + 60'000);
    m.m_remaining = 60;
    EXPECT_EQ(SnapshotOf(m, 0, 0, "").phase, "warning");
    m.m_paused = 1;
    s = SnapshotOf(m, 0, 0, "");
    EXPECT_TRUE(s.paused);
    EXPECT_FALSE(s.endsAtMs);
    m.m_paused = 0;
    m.m_inAlert = 1;
    m.m_remaining = 7;  // three seconds into a ten-second alert
    s = SnapshotOf(m, 1'000'000, 400, "");
    EXPECT_EQ(s.phase, "alert");
    EXPECT_EQ(s.remaining, 0);
    EXPECT_EQ(s.endsAtMs, 1'000'000 + 400 - 4000);
    m.m_overtime = 1;
    m.m_remaining = -75;
    s = SnapshotOf(m, 1'000'000, 400, "");
    EXPECT_EQ(s.phase, "overtime");
    EXPECT_EQ(s.remaining, -75);
    EXPECT_EQ(s.endsAtMs, 1'000'000 + 400 - 76'000);
}

// What only JSON can get wrong; the orders themselves are the same by every way in.
TEST(RemoteState, WebSocketOrdersNameWhatIsBad) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"order":"add","seconds":true})", "true"},
        {R"({"order":"add"})", "seconds"},
        {R"({"order":"message","text":5})", "5"},
        {R"({"order":"set","length":"soon"})", "soon"},
        {R"({"order":"fly"})", "fly"},
        {R"({"order":1})", "order"},
        {R"(["start"])", ""},
        {R"({"order":"start")", ""},
    };
    for (const auto& [json, word] : cases) {
        const tallyglass::CommandCheck parsed = ParseOrderJson(json);
        SCOPED_TRACE(json);
        EXPECT_FALSE(parsed.command.has_value());
        EXPECT_FALSE(parsed.why.empty());
        EXPECT_EQ(parsed.word, word);
    }
    EXPECT_EQ(ParseOrderJson(R"({"order":"message","text":""})").command->kind, tallyglass::CommandKind::ClearMessage);
    // An order's id comes back with its answer: only a whole number a page's number holds exactly.
    const std::pair<std::string, uint64_t> ids[] = {
        {"7", 7},    {"9007199254740992", kMaxOrderId}, {"0", 0}, {"9007199254740993", 0}, {"-3", 0}, {"1.5", 0},
        {"\"7\"", 0}};
    for (const auto& [id, kept] : ids) {
        uint64_t orderId = 99;
        ParseOrderJson(R"({"order":"start","id":)" + id + "}", &orderId);
        EXPECT_EQ(orderId, kept) << id;
    }
    uint64_t badId = 0;
    const auto bad = ParseOrderJson(R"({"order":"fly","id":12})", &badId);
    EXPECT_EQ(ErrorJson(bad.why, bad.word, badId), R"({"error":"no such order","id":12,"word":"fly"})");
}

// A browser without a valid key gets a page, in the clock's language, that says where a
// link comes from; the pages themselves speak that language from their first word.
TEST(RemoteState, PagesSpeakTheClocksLanguageAndAKeylessPageSaysWhereALinkIsFound) {
    EXPECT_EQ(PageInLanguage("<html lang=\"en\"><p>", "zh"), "<html lang=\"zh-CN\"><p>");
    EXPECT_EQ(PageInLanguage("<html lang=\"en\"><p>", "en"), "<html lang=\"en\"><p>");
    const std::string missing = KeyPage(KeyTrouble::Missing, "en"), wrong = KeyPage(KeyTrouble::Wrong, "zh");
    EXPECT_NE(missing.find("needs the clock's key"), std::string::npos);
    EXPECT_NE(missing.find("About"), std::string::npos);
    EXPECT_NE(wrong.find("lang=\"zh-CN\""), std::string::npos);
    EXPECT_NE(wrong.find("新密钥"), std::string::npos);
    EXPECT_NE(KeyPage(KeyTrouble::LockedOut, "en").find("wait a minute"), std::string::npos);
    for (const std::string& page : {missing, wrong}) EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(RemotePlan, OffUnlessAskedAndOffWithAReasonWhenTheSettingsCannotBeUsed) {
    struct Case {
        RemoteSettings settings;
        bool on;
        const char* address;
        const char* whyPart;
    };
    const Case cases[] = {
        {{"off", "", 7360, "", "", false, ""}, false, "", ""},
        {{"", "", 7360, "", "", false, ""}, false, "", ""},
        {{"local", "10.1.1.1", 7360, "", "", false, ""}, true, "127.0.0.1", ""},
        {{"lan", "", 80, "", "", false, ""}, true, "0.0.0.0", ""},
        {{"lan", "192.168.1.20", 7360, "12345678", "", false, "localhost:9000"}, true, "192.168.1.20", ""},
        {{"on", "", 7360, "", "", false, ""}, false, "", "remote=on"},
        {{"local", "", 0, "", "", false, ""}, false, "", "remoteport=0"},
        {{"local", "", 65536, "", "", false, ""}, false, "", "remoteport=65536"},
        {{"local", "", 7360, "1234567", "", false, ""}, false, "", "shorter than 8"},
        {{"local", "", 7360, "", "", false, "9000"}, false, "", "remotefeedback=9000"},
        {{"local", "", 7360, "", "", false, "host:0"}, false, "", "remotefeedback=host:0"},
    };
    for (const Case& c : cases) {
        const RemotePlan plan = PlanRemote(c.settings);
        SCOPED_TRACE(c.settings.mode + " " + c.whyPart);
        EXPECT_EQ(plan.on, c.on);
        EXPECT_EQ(plan.address, c.address);
        EXPECT_NE(plan.why.find(c.whyPart), std::string::npos) << plan.why;
        EXPECT_EQ(plan.why.empty(), std::string(c.whyPart).empty());
    }
    const RemotePlan feedback = PlanRemote({"lan", "", 7360, "", "", false, "localhost:9000"});
    EXPECT_EQ(feedback.feedbackAddress, "127.0.0.1");
    EXPECT_EQ(feedback.feedbackPort, 9000);
}
}  // namespace

// One wake for a batch, and a bound that refuses rather than grows.
TEST(RemoteQueue, TheFirstOrderOfABatchWakesTheClockAndAFullQueueRefuses) {
    using P = BatchQueue<int>::Pushed;
    BatchQueue<int> queue(3);
    std::vector<P> pushed;
    for (int i = 1; i <= 4; ++i) pushed.push_back(queue.Push(i));
    EXPECT_EQ(pushed, (std::vector<P>{P::First, P::Queued, P::Queued, P::Refused}));
    EXPECT_EQ(queue.TakeAll(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.Push(5), P::First);
}
