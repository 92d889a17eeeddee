#pragma once

#include <string>

#include "files/file_result.h"
#include "image/radio_image.h"

namespace halyx::cli {

// Every command that takes an image file takes a configuration text (*.halyx.yaml) as well.
// Loads it, or prints why not and gives the exit status: 2 when the file cannot be read, 1 when
// a configuration text is refused (every problem on its own line); 0 when loaded.
int LoadImageArgument(const std::string& path, RadioImage& image, const RadioImage* base = nullptr);

// 0 when a file was read or written; otherwise prints why not and gives 2.
int FileResultStatus(const FileResult& result);

// Saves an image file, or a configuration text when the name ends in .yaml; 0 or 2.
int SaveImageArgument(const std::string& path, const RadioImage& image);

}  // namespace halyx::cli
