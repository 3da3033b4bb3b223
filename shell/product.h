#pragma once
// The product's names, each written once.
#include "base/product_record.h"

namespace tallyglass {

// UTF-8 "TallyglassPPT" followed by the Chinese for "countdown".
constexpr char kWindowTitle[] = "TallyglassPPT\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6";

// The version this program was built as (product_version.cpp).
const char* ProductVersion();

inline ProductTexts ThisProduct(const char* version) { return {version, "Tallyglass", "Countdown", kWindowTitle}; }

}  // namespace tallyglass
