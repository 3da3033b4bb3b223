#pragma once
// The settings pages' control ids and sizes: a field's control is kFieldBase plus its
// row, its buttons sit at fixed offsets from it, and the pages' own parts have ids of
// their own. Sizes are dialog units, so that the pages scale with the font and the DPI.
namespace tallyglass::settings_ids {

// Every page is this large: the sheet takes the largest.
constexpr short kPageWidth = 330, kPageHeight = 246;
constexpr int kMargin = 7, kRowHeight = 14, kControlHeight = 12;

constexpr unsigned kCentreSheet = 0x8000 + 40;  // WM_APP + 40, posted by the first page made
constexpr int kFieldBase = 2000;
constexpr int kClearOffset = 100;   // a hot key's Clear
constexpr int kChooseOffset = 200;  // a colour's Choose
constexpr int kNewKeyOffset = 300;  // a remote key's New key
constexpr int kProblemLine = 2900;
constexpr int kShowList = 2910, kSegmentName = 2911, kSegmentLength = 2912, kSegmentStart = 2913;
constexpr int kShowAdd = 2920, kShowUpdate = 2921, kShowRemove = 2922, kShowUp = 2923, kShowDown = 2924;
constexpr int kShowImport = 2925, kShowNewDay = 2926;
constexpr int kControlLink = 2930, kViewLink = 2931, kCopyControl = 2932, kCopyView = 2933;
constexpr int kControlCode = 2940, kViewCode = 2941;

}  // namespace tallyglass::settings_ids
