#pragma once

#include <string>

namespace halyx {

// The name a test point's slider is labelled with (UTF-8): its frequency with three decimals and
// its power level, "409.025MHz [HIGH]" in English or "409.025MHz [高]" otherwise. These texts are
// built in rather than taken from a language file. Empty for a row outside 1..9.
std::string TestPointLabel(int row, bool upperBand, bool english);

}  // namespace halyx
