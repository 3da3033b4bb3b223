#include "slides/slide_text.h"

namespace tallyglass {

std::string CutUtf8(std::string text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    // Back over continuation bytes (10xxxxxx) to the lead byte of the character cut through.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string NotesLines(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\v') c = '\n';
    return text;
}

}  // namespace tallyglass
