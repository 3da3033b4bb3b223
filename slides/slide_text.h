#pragma once
// A slide's notes as the watcher hands them on: lines ended by '\n' and cut to a
// bound on a character's boundary.
#include <cstddef>
#include <string>

namespace tallyglass {

// At most maxBytes of UTF-8, never ending inside a character.
std::string CutUtf8(std::string text, size_t maxBytes);
// PowerPoint ends a paragraph with '\r' and a line within one with '\v'.
std::string NotesLines(std::string text);

}  // namespace tallyglass
