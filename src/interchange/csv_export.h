#pragma once

#include <string>

#include "image/radio_image.h"

namespace halyx {

// Every non-empty channel as one row of the common channel-list CSV (all 21 columns, CRLF),
// written so that importing it into the same image changes no byte.
std::string ExportChannelsCsv(const RadioImage& image);

}  // namespace halyx
