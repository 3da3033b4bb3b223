#pragma once
// The pages in the clock's language, and the page a browser gets without a valid
// key: in the pages' look, saying where a working link comes from.
#include <string>
#include <string_view>

namespace tallyglass {

// The page with its <html lang="en"> made the language's ("zh": Chinese).
std::string PageInLanguage(std::string page, std::string_view language);

enum class KeyTrouble { Missing, Wrong, LockedOut };

// A page of its own, with no script and its style inline (its answer's CSP allows
// only that), since the pages' style sheet is not served without a key.
std::string KeyPage(KeyTrouble trouble, std::string_view language);

}  // namespace tallyglass
