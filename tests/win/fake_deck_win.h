#pragma once
// The part of PowerPoint's object model the slide show's watcher walks, answered
// late-bound from a deck held in memory, with a count of the calls made per member.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/com_win.h"

namespace tallyglass {

struct FakeSlide {
    bool hidden = false;
    std::wstring notes;
    // The notes page's slide image deleted: the body comes first, then the slide number.
    bool bodyFirst = false;
};

struct FakeShow {
    HWND window = nullptr;
    int32_t slide = 0;  // 0: the black slide after the last
};

struct FakeDeck {
    std::wstring name = L"Talk.pptx";
    std::vector<FakeSlide> slides;
    std::vector<FakeShow> shows;
    // Calls answered, by member name ("GetIDsOfNames" for the lookups); on the server's thread only.
    std::map<std::wstring, uint64_t> calls;
    // While set, every call waits (a hung PowerPoint) until `unhang` is set, 30 s at most.
    std::atomic<bool> hanging{false};
    HANDLE unhang = nullptr;
};

// The Application object, the root of the walk.
ComPtr<IDispatch> FakeApplication(std::shared_ptr<FakeDeck> deck);

}  // namespace tallyglass
