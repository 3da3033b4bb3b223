#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/frame_win.h"
#include "render/screen_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
std::string Ini(const std::string& extra) { return TestIni("clrnormal=#FFFFFF\nclralert=#FF3030\n" + extra); }

bool Near(uint32_t pixel, uint32_t rgb, int tolerance) {
    return std::abs(int(Frame::Red(pixel)) - int(rgb >> 16 & 0xFF)) <= tolerance &&
           std::abs(int(Frame::Green(pixel)) - int(rgb >> 8 & 0xFF)) <= tolerance &&
           std::abs(int(Frame::Blue(pixel)) - int(rgb & 0xFF)) <= tolerance;
}

TEST(Frame, BackgroundOnIsOpaqueWithItsGradients) {
    TestClock clock(Ini("nobg=0\nfsizenormal=96\n"));
    const Frame& f = clock.LastFrame();
    const int m = clock->Model().m_margin;
    ASSERT_GT(f.height, 40);
    const int x = f.width - 2;  // right edge: no glyphs, no strip
    EXPECT_TRUE(Near(f.At(x, 0), 0xFFFFFF, 40)) << std::hex << f.At(x, 0);
    EXPECT_TRUE(Near(f.At(x, f.height / 2), 0x000000, 8));
    EXPECT_TRUE(Near(f.At(x, f.height - 1), 0x2F4F4F, 12)) << std::hex << f.At(x, f.height - 1);
    EXPECT_TRUE(Near(f.At(m / 2, f.height - 1), 0xFFFFFF, 40)) << std::hex << f.At(m / 2, f.height - 1);
    // Mid-height the strip is half-way from transparent to white over black: a
    // mid grey (with a rose cast where the colours are interpolated unpremultiplied).
    const uint32_t strip = f.At(m / 2, f.height / 2);
    EXPECT_TRUE(Near(strip, 0x757070, 40)) << std::hex << strip;
    for (uint32_t p : f.pixels) ASSERT_EQ(Frame::Alpha(p), 255);
    EXPECT_TRUE(*clock.allPremultiplied);
}

TEST(Frame, BackgroundOffLeavesOnlyTheGlyphs) {
    TestClock clock(Ini("nobg=1\nfsizenormal=96\nclrnormal=#00FF00\n"));
    const Frame& f = clock.LastFrame();
    bool partial = false, fill = false;
    int transparent = 0;
    for (uint32_t p : f.pixels) {
        const int a = Frame::Alpha(p);
        if (a == 0) {
            ++transparent;
            ASSERT_EQ(p, 0u);  // fully transparent means all zero when premultiplied
        }
        if (a > 0 && a < 200) partial = true;
        if (a == 255 && Frame::Green(p) == 255 && Frame::Red(p) < 10) fill = true;
    }
    EXPECT_GT(transparent, f.width * f.height / 3);                                 // most of the window is see-through
    EXPECT_TRUE(partial);                                                           // the translucent outline survives
    EXPECT_TRUE(fill);                                                              // the fill colour inside the glyphs
    for (int x = 0; x < f.width; ++x) EXPECT_EQ(Frame::Alpha(f.At(x, 0)), 0) << x;  // nothing above the text
    EXPECT_TRUE(*clock.allPremultiplied);
}

TEST(Frame, GlyphsSitWithinTheLayoutMargins) {
    for (int size : {48, 96, 150}) {
        TestClock clock(Ini("nobg=1\nfsizenormal=" + std::to_string(size) + "\n"));
        const Frame& f = clock.LastFrame();
        const int m = clock->Model().m_margin;
        const RECT painted = f.OpaqueBounds();
        // The window is the glyphs' bounds with three margins across and one down;
        // the glyphs start one margin in (plus their own side bearing). The
        // outline reaches a pixel beyond the measured fill on each side.
        const int rightGap = f.width - painted.right, bottomGap = f.height - painted.bottom;
        EXPECT_NEAR(painted.left + rightGap, 3 * m, 2) << size;
        EXPECT_NEAR(painted.top + bottomGap, m, 2) << size;
        EXPECT_GE(painted.left, m - 1) << size;
        EXPECT_GE(rightGap, m) << size;                             // a margin and more stays clear on the right
        EXPECT_GT(painted.right - painted.left, 2 * size) << size;  // "10:00" is wider than two ems
    }
}

// The message to the presenter: a second line in the time's colour, centred under
// it; the window grows where it stands and is the same as before once it goes.
TEST(Frame, AMessageIsASecondLineUnderTheTimeAndGoesWithIt) {
    TestClock clock(Ini("nobg=1\nfsizenormal=96\nclrnormal=#00FF00\n"));
    CountdownModel m = clock->Model();
    const RECT before = clock.LastFrame().OpaqueBounds();
    const int32_t width = m.m_width, height = m.m_height;
    m.m_message = "Two minutes, please wrap up";  // wider than the time
    clock->Show(m, /*relayout=*/true);
    const Frame& f = clock.LastFrame();
    const RECT both = f.OpaqueBounds();
    EXPECT_GT(f.height, height + 48) << "a line of half the size more";
    EXPECT_GT(f.width, width);
    EXPECT_GT(both.bottom, height) << "glyphs below where the time's window ended";
    EXPECT_NEAR(both.left + (f.width - both.right), 3 * clock->Model().m_margin, 3)
        << "the wider line as one line sits";
    bool green = false;
    for (int y = height; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) green |= Frame::Alpha(f.At(x, y)) == 255 && Frame::Green(f.At(x, y)) == 255;
    EXPECT_TRUE(green) << "the message in the time's colour";
    m = clock->Model();
    m.m_message.clear();
    clock->Show(m, /*relayout=*/true);
    EXPECT_EQ(clock->Model().m_width, width);
    EXPECT_EQ(clock->Model().m_height, height);
    const RECT after = clock.LastFrame().OpaqueBounds();
    EXPECT_TRUE(after.left == before.left && after.right == before.right && after.bottom == before.bottom);
}

// A note (how late the show runs) stands under the time in its own colour, above the
// message in the time's; a note whose text changes on a plain frame widens the window.
TEST(Frame, ANoteStandsAboveTheMessageInItsOwnColour) {
    TestClock clock(Ini("nobg=1\nfsizenormal=96\nclrnormal=#00FF00\nclrwarn=#FF00FF\nschedule=1\n"));
    CountdownModel m = clock->Model();
    const int32_t height = m.m_height;
    m.m_message = "Wrap up";
    m.m_scheduleOffset = 130;  // late past the 30 s: the warning's colour
    clock->Show(m, /*relayout=*/true);
    const Frame& f = clock.LastFrame();
    EXPECT_GT(f.height, height + 2 * 48) << "two lines of half the size more";
    const auto rowsOf = [&f](uint8_t red, uint8_t green) {
        std::pair<int, int> rows{f.height, -1};
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                if (Frame::Alpha(f.At(x, y)) == 255 && Frame::Red(f.At(x, y)) == red &&
                    Frame::Green(f.At(x, y)) == green)
                    rows = {std::min(rows.first, y), std::max(rows.second, y)};
        return rows;
    };
    const auto note = rowsOf(255, 0), message = rowsOf(0, 255);
    EXPECT_GE(note.first, height - 10) << "the note is under the time";
    EXPECT_LT(note.second, message.second) << "and above the message";
    m = clock->Model();
    m.m_scheduleOffset.reset();
    m.m_message.clear();
    clock->Show(m, /*relayout=*/true);
    EXPECT_EQ(clock->Model().m_height, height);
    m = clock->Model();
    m.m_scheduleOffset = -45;  // a note that comes with the schedule's second, on a frame alone
    clock->Show(m, /*relayout=*/false);
    EXPECT_GT(clock->Model().m_height, height + 48) << "the window grew for it";
}

// The worst messages the network lets through, 200 characters each, start at the work
// area's bottom-right corner, where a message's growth would run the window off it: the
// whole window stays on the work area, and the message shows in one or two lines, bands
// of glyphs under the time's line.
TEST(Frame, TheWorstMessagesKeepTheWindowOnTheWorkAreaInTwoLines) {
    const auto repeat = [](const std::string& unit, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += unit;
        return text;
    };
    const std::string arabic = "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 ";  // five letters and a space
    const std::pair<const char*, std::string> cases[] = {
        {"widest glyphs", repeat("W", 200)},
        {"CJK ideographs", repeat("\xE6\xB0\xB4", 200)},
        {"combining marks on one letter", "a" + repeat("\xCC\x81", 199)},
        {"right-to-left overrides", repeat("\xE2\x80\xAE" + arabic, 28) + "\xE2\x80\xAE" + arabic.substr(0, 6)},
        {"a mix", repeat("W\xE6\xB0\xB4\xE2\x80\xAE\xD9\x85"
                         "a\xCC\x81 ",
                         25)},
    };
    TestClock clock(Ini("nobg=1\nfsizenormal=96\n"));
    const CountdownModel alone = clock->Model();
    const std::vector<ScreenRect> areas = MonitorWorkAreas();
    ASSERT_EQ(areas.size(), 1u);
    const ScreenRect area = areas.front();
    for (const auto& [name, message] : cases) {
        CountdownModel m = alone;
        m.m_posLeft = area.right - alone.m_width;
        m.m_posTop = area.bottom - alone.m_height;
        m.m_message = message;
        clock->Show(m, /*relayout=*/true);
        const RECT r = clock.WindowRect();
        EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
            << name << ": " << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
        const Frame& f = clock.LastFrame();
        // A band ends where a few blank rows follow it, more than an accent leaves above its letter.
        int bands = 0;
        for (int y = alone.m_height, blank = f.height; y < f.height; ++y) {
            int row = 0;
            for (int x = 0; x < f.width; ++x) row |= Frame::Alpha(f.At(x, y)) != 0;
            bands += row && blank > alone.m_margin / 4;
            blank = row ? 0 : blank + 1;
        }
        EXPECT_TRUE(bands >= 1 && bands <= 2) << name << ": " << bands << " bands of glyphs under the time";
    }
}

// Once Wine ended DejaVu Sans's "u" with a one-point figure, after which no glyph was
// filled: "Time's up" showed as "Time's u" and only the outlines of the rest.
TEST(Frame, EveryGlyphIsFilledWhateverComesBeforeIt) {
    const WindowDc screen(nullptr);
    FrameContent content;
    content.text = L"Time's up, wrap up now";
    content.fontName = L"DejaVu Sans";
    content.fontSize = 36;
    content.color = 0xFF00FF00;
    content.margin = 10;
    content.background = false;
    content.size = {800, 80};
    FrameSurface surface(screen.get(), content.size.width, content.size.height);
    PaintFrameAnew(surface, content);
    int filledRight = 0;
    for (int y = 0; y < content.size.height; ++y)
        for (int x = 0; x < content.size.width; ++x)
            if (surface.Pixels().At(x, y) >> 24 == 255) filledRight = std::max(filledRight, x);
    const PixelSize measured = MeasureGlyphs(content.text, TextFaceOrFallback(content.fontName), 36);
    EXPECT_NEAR(filledRight, content.margin + measured.width, 4);
}

TEST(Frame, EmptyOrBlankTextGivesAWindowOfMarginsOnly) {
    // Blanks around a value are trimmed by the file format; no-break spaces are not.
    TestClock clock(Ini("nobg=1\ntitle=\xC2\xA0\xC2\xA0\nfsizetitle=100\n"));
    EXPECT_EQ(clock->Model().m_margin, 30);
    EXPECT_EQ(clock->Model().m_width, 90);
    EXPECT_EQ(clock->Model().m_height, 30);
    for (uint32_t p : clock.LastFrame().pixels) ASSERT_EQ(p, 0u);
}

TEST(Frame, UnknownFontFallsBackAndStillShowsTheTime) {
    TestClock clock("[settings]\nfontname=No Such Font 123\nnobg=1\n");
    const RECT painted = clock.LastFrame().OpaqueBounds();
    EXPECT_GT(painted.right - painted.left, 50);
    EXPECT_GT(clock->Model().m_width, 3 * clock->Model().m_margin + 50);
}
}  // namespace

namespace {
std::vector<uint32_t> PaintedAnew(const FrameContent& content) {
    const WindowDc screen(nullptr);
    FrameSurface surface(screen.get(), content.size.width, content.size.height);
    if (!surface.Valid()) return {};
    PaintFrameAnew(surface, content);
    return {surface.Bits(), surface.Bits() + surface.PixelCount()};
}

// The painter's frames as the presenter makes them: into the surface that holds
// the last frame while the size stays, into a new one when it changes.
class KeptSurface {
public:
    FrameArea Paint(FramePainter& painter, const FrameContent& content) {
        const bool holds = m_surface && m_surface->Pixels().width == content.size.width &&
                           m_surface->Pixels().height == content.size.height;
        if (!holds) m_surface = std::make_unique<FrameSurface>(m_screen.get(), content.size.width, content.size.height);
        return painter.Paint(*m_surface, content, holds);
    }
    std::vector<uint32_t> Pixels() const { return {m_surface->Bits(), m_surface->Bits() + m_surface->PixelCount()}; }

private:
    WindowDc m_screen{nullptr};
    std::unique_ptr<FrameSurface> m_surface;
};

// Pixels that differ between two frames of one size, outside the given area.
int DifferencesOutside(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int32_t width,
                       const FrameArea& area) {
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<int32_t>(i % static_cast<size_t>(width));
        const auto y = static_cast<int32_t>(i / static_cast<size_t>(width));
        const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        count += !inside && a[i] != b[i];
    }
    return count;
}
}  // namespace

// What the painter keeps between frames (family, glyph paths, measured size, the
// background's pixels, the last frame's pixels) must give the very bytes of a frame
// painted anew, and go stale with the text, the font, the size, the phase or the
// message; each frame follows one that differs from it in one of these. The area it
// answers must hold every pixel that changed, or the screen would keep a stale digit.
TEST(Frame, KeptFramesArePaintedAnewByteForByte) {
    struct Case {
        const wchar_t* text;
        const wchar_t* font;
        int32_t size;
        uint32_t color;
        bool background;
        const wchar_t* message = L"";
        const wchar_t* note = L"";  // in a colour of its own, above the message
    };
    const wchar_t* font = L"DejaVu Sans";
    const Case cases[] = {{L"10:00", font, 96, 0xFFFFFFFF, true},
                          {L"10:00", font, 96, 0xFFFFFFFF, true},
                          {L"10:01", font, 96, 0xFFFFFFFF, true},
                          {L"10:08", font, 96, 0xFFFFFFFF, true},
                          {L"11:08", font, 96, 0xFFFFFFFF, true},
                          {L"10:01", font, 96, 0xFFFFC000, true},
                          {L"10:01", font, 96, 0x3FFF3030, false},
                          {L"10:07", font, 96, 0x3FFF3030, false},
                          {L"10:01", L"No Such Font", 96, 0xFFFF3030, false},
                          {L"-01:15", font, 300, 0xFFFF3030, true},
                          {L"-01:16", font, 300, 0xFFFF3030, true},
                          {L"-01:17", font, 300, 0xFFFF3030, true},
                          {L"10:00", font, 48, 0xFFFFFFFF, true},
                          {L"10:00", font, 96, 0xFFFFFFFF, true, L"Wrap up"},
                          {L"10:01", font, 96, 0xFFFFFFFF, true, L"Wrap up"},
                          {L"10:01", font, 96, 0xFFFFFFFF, true, L"Wrap up now"},
                          {L"10:01", font, 96, 0xFFFFFFFF, true, L"Wrap up now", L"+2:10"},
                          {L"10:02", font, 96, 0xFFFFFFFF, true, L"Wrap up now", L"+2:10"},
                          {L"10:02", font, 96, 0xFFFFFFFF, false, L"Wrap up now", L"+2:11"}};
    FramePainter painter;
    KeptSurface kept;
    std::vector<uint32_t> previous;
    PixelSize windowSize;
    int32_t previousFontSize = 0;
    for (const Case& c : cases) {
        FrameContent content;
        content.text = c.text;
        content.fontName = c.font;
        content.fontSize = c.size;
        content.color = c.color;
        content.background = c.background;
        content.margin = MarginForSize(c.size);
        // The message's line kept apart from the time's must give the path of the two built together.
        if (*c.note) content.message.push_back({c.note, 3 * content.margin, c.size / 4, 0xFFFF00FF});
        if (*c.message) content.message.push_back({c.message, content.margin, c.size / 2});
        content.messageSize = c.size / 2;
        const PixelSize measured = painter.Measure(content.text, content.fontName, c.size);
        const PixelSize anew = MeasureGlyphs(content.text, TextFaceOrFallback(content.fontName), c.size);
        EXPECT_EQ(measured.width, anew.width) << c.text;
        EXPECT_EQ(measured.height, anew.height) << c.text;
        // A counting clock keeps its window's size from one second to the next.
        const bool sameWindow = previousFontSize == c.size;
        if (!sameWindow) windowSize = WindowSizeFor(anew, content.margin, {7680, 4320});
        content.size = windowSize;
        previousFontSize = c.size;
        const std::vector<uint32_t> expected = PaintedAnew(content);
        ASSERT_FALSE(expected.empty());
        const FrameArea changed = kept.Paint(painter, content);
        EXPECT_TRUE(kept.Pixels() == expected) << c.text << " at " << c.size;
        // The first two cases are the same frame, painted once anew and once from what was kept.
        EXPECT_EQ(expected == previous, &c == &cases[1]) << c.text << ": each case but the repeat changes the picture";
        if (sameWindow) {
            EXPECT_EQ(DifferencesOutside(previous, expected, content.size.width, changed), 0) << c.text;
        }
        previous = expected;
    }
}
