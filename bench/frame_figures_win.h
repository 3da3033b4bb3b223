#pragma once
// What a frame costs: each phase and size against an empty frame, a message's
// frame and layout, and a phase's picture written out for the README.
#include <string>

namespace tallyglass {

void FrameCost();
void MessageCost();
// Writes the picture's frame as a PAM file; the process's exit status.
int DumpFrame(const wchar_t* path, const std::wstring& picture);

}  // namespace tallyglass
