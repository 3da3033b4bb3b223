#include "bench/frame_figures_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support_win.h"
#include "framework/handles_win.h"
#include "render/frame_win.h"
#include "shell/countdown_wnd_win.h"

namespace tallyglass {

namespace {
template <typename Frame>
Percentiles SampleFrames(Frame&& frame) {
    std::vector<double> samples;
    for (int i = 0; i < 20; ++i) frame(i);
    for (int i = 0; i < 300; ++i) {
        const double t0 = NowMs();
        frame(i);
        samples.push_back(NowMs() - t0);
        if (i % 50 == 0) Pump();
    }
    return Summarise(samples);
}

// The same surface and update as a frame of the clock, with nothing painted.
void PresentEmptyFrame(HWND hwnd, int32_t width, int32_t height) {
    WindowDc compatible(hwnd);
    FrameSurface surface(compatible.get(), width, height);
    WindowDc destination(hwnd);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    GdiFlush();
    POINT point{rect.left, rect.top}, source{0, 0};
    SIZE size{width, height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 253, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd, destination.get(), &point, &size, surface.Dc(), &source, 0, &blend, ULW_ALPHA);
}

}  // namespace

void FrameCost() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-frame.ini");
    options.manualTicks = true;
    CountdownWnd clock(options);
    clock.Create();
    CountdownModel state = clock.Model();
    state.m_running = 1;

    std::vector<std::pair<std::string, Percentiles>> results;
    for (int size : {48, 96, 300}) {
        for (int noBackground : {0, 1}) {
            state.m_sizeNormal = size;
            state.m_noBackground = noBackground;
            state.m_remaining = 5999;
            clock.Show(state, /*relayout=*/true);
            state = clock.Model();  // with the size the layout gave it
            const Percentiles p = SampleFrames([&](int i) {
                state.m_remaining = 5999 - i % 600;
                clock.Show(state, /*relayout=*/false);
            });
            results.push_back(
                {"frame at size " + std::to_string(size) + (noBackground ? ", background off" : ", background on"), p});
        }
        // What the window's size alone costs: an empty frame as large as this size's.
        HWND hwnd = clock.GetSafeHwnd();
        const int32_t width = clock.Model().m_width, height = clock.Model().m_height;
        results.push_back({"empty frame on size " + std::to_string(size) + "'s window",
                           SampleFrames([&](int) { PresentEmptyFrame(hwnd, width, height); })});
    }
    // The floor, on size 96's window.
    state.m_sizeNormal = 96;
    clock.Show(state, /*relayout=*/true);
    HWND hwnd = clock.GetSafeHwnd();
    const int32_t width = clock.Model().m_width, height = clock.Model().m_height;
    const Percentiles floor = SampleFrames([&](int) { PresentEmptyFrame(hwnd, width, height); });
    std::printf("empty frame (floor) median: %.3f ms\n", floor.median);
    std::printf("empty frame (floor) p95: %.3f ms\n", floor.p95);
    for (const auto& [name, p] : results) {
        std::printf("%s median: %.3f ms\n", name.c_str(), p.median);
        std::printf("%s p95: %.3f ms\n", name.c_str(), p.p95);
        std::printf("%s median / floor: %.2f x\n", name.c_str(), p.median / floor.median);
    }
}

// The message to the presenter at its worst, 200 of the widest glyph fitted into two
// lines, against none: a tick's frame, and the layout a new message brings (two
// messages in turn, so that each is fitted anew).
void MessageCost() {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-message.ini");
    options.manualTicks = true;
    CountdownWnd clock(options);
    clock.Create();
    CountdownModel state = clock.Model();
    state.m_running = 1;
    state.m_sizeNormal = 96;
    const std::string worst[] = {std::string(200, 'W'), std::string(199, 'W') + "M"};
    Percentiles frames[2], layouts[2];
    for (int withMessage : {0, 1}) {
        state.m_message = withMessage ? worst[0] : std::string();
        state.m_remaining = 5999;
        clock.Show(state, /*relayout=*/true);
        state = clock.Model();
        frames[withMessage] = SampleFrames([&](int i) {
            state.m_remaining = 5999 - i % 600;
            clock.Show(state, /*relayout=*/false);
        });
        layouts[withMessage] = SampleFrames([&](int i) {
            state.m_remaining = 5999 - i % 600;
            if (withMessage) state.m_message = worst[i % 2];
            clock.Show(state, /*relayout=*/true);
        });
    }
    const std::pair<const char*, const Percentiles*> rows[] = {{"frame", frames}, {"layout and frame", layouts}};
    for (const auto& [name, p] : rows) {
        std::printf("%s at size 96 without a message median: %.3f ms\n", name, p[0].median);
        std::printf("%s at size 96 with the worst message median: %.3f ms\n", name, p[1].median);
        std::printf("%s at size 96 with the worst message p95: %.3f ms\n", name, p[1].p95);
        std::printf("%s with the worst message / without: %.2f x\n", name, p[1].median / p[0].median);
    }
}

namespace {
CountdownModel PictureState(CountdownModel state, const std::wstring& picture) {
    state.m_running = 1;
    state.m_colorNormal = 0xFFFFFFFF;
    state.m_colorWarn = 0xFFFFC000;
    state.m_colorAlert = 0xFFFF3030;
    state.m_alertText = "TIME UP";
    state.m_remaining = 9 * 60 + 41;
    if (picture == L"slide") {
        state.m_noBackground = 1;
        state.m_sizeNormal = 120;
    } else if (picture == L"warning") {
        state.m_warnSeconds = 60;
        state.m_remaining = 45;
    } else if (picture == L"alert") {
        state.m_inAlert = 1;
        state.m_remaining = 42;
    } else if (picture == L"overtime") {
        state.m_inAlert = 1;
        state.m_overtime = 1;
        state.m_remaining = -75;
    }
    return state;
}

// Writes one frame as a PAM image (straight alpha) for the README.
}  // namespace

int DumpFrame(const wchar_t* path, const std::wstring& picture) {
    CountdownWndOptions options;
    options.storePath = TempStore(L"tallyglass-bench-dump.ini");
    options.manualTicks = true;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    options.frameObserver = [&](const FramePixels& frame) {
        pixels.assign(frame.pixels, frame.pixels + static_cast<size_t>(frame.width) * frame.height);
        width = frame.width;
        height = frame.height;
    };
    CountdownWnd clock(options);
    if (!clock.Create()) {
        std::fprintf(stderr, "the clock window could not be created\n");
        return 1;
    }
    clock.Show(PictureState(clock.Model(), picture), /*relayout=*/true);
    FILE* out = _wfopen(path, L"wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %ls\n", path);
        return 1;
    }
    std::fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    for (uint32_t p : pixels) {
        const unsigned a = p >> 24;
        auto straight = [a](unsigned c) { return static_cast<unsigned char>(a ? std::min(255u, c * 255 / a) : 0); };
        const unsigned char rgba[4] = {straight(p >> 16 & 0xFF), straight(p >> 8 & 0xFF), straight(p & 0xFF),
                                       static_cast<unsigned char>(a)};
        std::fwrite(rgba, 1, 4, out);
    }
    std::fclose(out);
    return 0;
}
}  // namespace tallyglass
