#include <gtest/gtest.h>

#include "render/placement.h"

using namespace tallyglass;

namespace {
struct PlaceCase {
    const char* name;
    ScreenRect window;
    int32_t x, y;
};

// A laptop at the origin, and a projector to its left, a little higher.
const std::vector<ScreenRect> kTwoMonitors = {{0, 0, 1920, 1040}, {-1280, -200, 0, 824}};

TEST(PlaceOnScreen, KeepsPlacesOnPresentMonitorsAndBringsBackLostOnes) {
    const PlaceCase cases[] = {
        {"inside the laptop", {100, 100, 400, 200}, 100, 100},
        {"on the projector, left of the primary", {-1000, -150, -700, -50}, -1000, -150},
        {"across both monitors", {-150, 10, 150, 110}, -150, 10},
        {"two thirds off the right edge: still a third on screen", {1820, 100, 2120, 200}, 1820, 100},
        {"less than a third on screen: moved in whole", {1900, 100, 2200, 200}, 1620, 100},
        {"far right, on a monitor no longer attached", {5000, 300, 5300, 400}, 1620, 300},
        {"far left", {-9000, 500, -8700, 600}, -1280, 500},
        {"below the laptop's taskbar", {600, 1030, 900, 1130}, 600, 940},
        {"above everything", {-1200, -900, -900, -800}, -1200, -200},
        {"above both, its centre over the laptop", {-100, -350, 900, -250}, 0, 0},
        {"larger than any work area", {4000, 4000, 9000, 6000}, 0, 0},
    };
    for (const PlaceCase& c : cases) {
        const ScreenPoint placed = PlaceOnScreen(c.window, kTwoMonitors);
        EXPECT_EQ(placed.x, c.x) << c.name;
        EXPECT_EQ(placed.y, c.y) << c.name;
    }
    const ScreenPoint unknown = PlaceOnScreen({7000, 7000, 7100, 7100}, {});
    EXPECT_EQ(unknown.x, 7000);  // no monitor information: nothing to correct against
}

// A message widens the window on the work area that holds most of it (PlaceWithin
// keeps it there, by PlaceOnScreen's arithmetic above).
TEST(WorkAreaOf, IsTheOneHoldingMostOfTheWindowElseTheNearest) {
    EXPECT_EQ(WorkAreaOf({-100, 10, 200, 110}, kTwoMonitors), &kTwoMonitors[0]);
    EXPECT_EQ(WorkAreaOf({-300, 10, 200, 110}, kTwoMonitors), &kTwoMonitors[1]);
    EXPECT_EQ(WorkAreaOf({5000, 300, 5300, 400}, kTwoMonitors), &kTwoMonitors[0]);
    EXPECT_EQ(WorkAreaOf({0, 0, 1, 1}, {}), nullptr);
}

TEST(ScaleForDpi, IsExactAt96AndRoundsElsewhere) {
    struct Case {
        int32_t size;
        uint32_t dpi;
        int32_t scaled;
    };
    const Case cases[] = {{72, 96, 72},   {72, 144, 108}, {72, 120, 90}, {20, 168, 35},
                          {96, 192, 192}, {33, 144, 50},  {72, 0, 72},   {INT32_MAX, 192, INT32_MAX},
                          {-10, 144, -15}};
    for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.size, c.dpi), c.scaled) << c.size << " @ " << c.dpi;
}
}  // namespace
