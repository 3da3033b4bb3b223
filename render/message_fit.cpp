#include "render/message_fit.h"

#include <algorithm>

#include "base/text_scan.h"

namespace tallyglass {

namespace {
// Marks drawn on the character before them, and what joins two into one picture:
// a line that ended before one would show a base without its accent, or half an emoji.
bool AttachesToPrevious(char32_t code) {
    constexpr char32_t kRanges[][2] = {{0x0300, 0x036F},  {0x0483, 0x0489}, {0x0591, 0x05C7}, {0x0610, 0x061A},
                                       {0x064B, 0x065F},  {0x0670, 0x0670}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
                                       {0x200D, 0x200D},  {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
                                       {0x1F3FB, 0x1F3FF}};
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [code](const auto& range) { return code >= range[0] && code <= range[1]; });
}

// Of the candidates c[0, n), in order of length, the index of the first whose line does
// not fit, given that a line the length of all of them does not. It starts from a
// guess (exact for even glyphs: two measurements), then doubles its steps away from it
// until the answer is bracketed, then halves: about two binary searches at worst.
template <typename Fits>
size_t FirstNotFitting(const size_t* c, size_t n, size_t guess, const Fits& fits) {
    size_t low = 0, high = n;  // [0, low) fit, [high, n) do not
    if (fits(c[guess])) {
        low = guess + 1;
        for (size_t step = 1; low < high; step *= 2) {
            const size_t probe = std::min(low + step, high) - 1;
            if (!fits(c[probe])) {
                high = probe;
                break;
            }
            low = probe + 1;
        }
    } else {
        high = guess;
        for (size_t step = 1; low < high; step *= 2) {
            const size_t probe = high - std::min(step, high - low);
            if (fits(c[probe])) {
                low = probe + 1;
                break;
            }
            high = probe;
        }
    }
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (fits(c[middle]))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::string WithoutTrailingSpaces(std::string_view text) {
    const size_t kept = text.find_last_not_of(' ');
    return std::string(text.substr(0, kept == std::string_view::npos ? 0 : kept + 1));
}
}  // namespace

std::vector<std::string> FitMessage(std::string_view text, int32_t width, int32_t maxLines,
                                    const MeasureText& measure) {
    // Where a line may end: before each character that does not attach to the one
    // before it, and at the end of what is laid out.
    std::vector<size_t> stops;
    size_t end = 0;
    char32_t previous = 0;
    for (size_t count = 0; end < text.size() && count < kMessageLayoutCodePoints; ++count) {
        const auto [code, length] = DecodeUtf8At(text, end);
        if (end > 0 && previous != 0x200D && !AttachesToPrevious(code)) stops.push_back(end);
        previous = code;
        end += length;
    }
    stops.push_back(end);
    text = text.substr(0, end);

    std::vector<std::string> lines;
    for (size_t from = 0; static_cast<int32_t>(lines.size()) < maxLines && from < text.size();) {
        const std::string_view rest = text.substr(from);
        const int32_t restWidth = measure(rest);
        if (restWidth <= width) {
            lines.emplace_back(rest);
            break;
        }
        const bool last = static_cast<int32_t>(lines.size()) + 1 == maxLines;
        const auto fits = [&](size_t stop) {
            std::string line(text.substr(from, stop - from));
            if (last) line += kMessageEllipsis;
            return measure(line) <= width;
        };
        // The stops inside the rest, the k-th ending a line of k + 1 characters; the
        // guess takes the characters as all of one width.
        const size_t* inside = &*std::upper_bound(stops.begin(), stops.end(), from);
        const size_t count = static_cast<size_t>(&stops.back() - inside);
        size_t fitting = 0;
        if (count > 0) {
            const int64_t guess = (static_cast<int64_t>(count) + 1) * std::max(width, 0) / std::max(restWidth, 1) - 1;
            fitting =
                FirstNotFitting(inside, count, static_cast<size_t>(std::clamp<int64_t>(guess, 0, count - 1)), fits);
        }
        if (last) {
            const size_t cut = fitting == 0 ? from : inside[fitting - 1];
            lines.push_back(WithoutTrailingSpaces(text.substr(from, cut - from)) + std::string(kMessageEllipsis));
            break;
        }
        // At least one character a line, so that each line moves on.
        size_t cut = fitting == 0 ? inside[0] : inside[fitting - 1];
        const std::string_view line = text.substr(from, cut - from);
        if (const size_t space = line.rfind(' ');
            text[cut] != ' ' && space != std::string_view::npos && line.find_first_not_of(' ') < space)
            cut = from + space;
        lines.push_back(WithoutTrailingSpaces(text.substr(from, cut - from)));
        from = std::min(text.find_first_not_of(' ', cut), text.size());
    }
    return lines;
}

}  // namespace tallyglass
