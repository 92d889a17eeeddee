#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace halyx {

// A language text with its %1 … %9 filled in from `values`, in one pass over the pattern, so a
// value that itself holds "%2" (a file's cell, a device path) is shown as it is and never filled
// in. A placeholder with no value stays as written.
std::string FillArguments(std::string_view pattern, const std::vector<std::string>& values);

}  // namespace halyx
