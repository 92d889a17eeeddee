#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "files/file_result.h"
#include "image/radio_image.h"
#include "interchange/config_text.h"

namespace halyx {

// Image files and configuration texts are told apart by name: ".yaml" or ".yml" (as in
// "radio.halyx.yaml") is a configuration text, anything else an image file.
bool IsConfigTextPath(const std::filesystem::path& path);

// A configuration text is far smaller than this (about 10 kB for an image full of random bytes).
inline constexpr std::uintmax_t kConfigTextLimit = 1024 * 1024;

struct ImageLoad {
    FileResult file;                      // the file could not be read (or was too large)
    std::vector<ConfigProblem> problems;  // the text was read but refused

    bool ok() const { return file.ok() && problems.empty(); }
};

// The one loader of every face that takes an image file. An image file loads as LoadImageFile
// does; a configuration text replaces the whole image (bytes and length), with the bytes it does
// not give taken from `base` when there is one. On any failure the image is left untouched.
ImageLoad LoadImageOrConfigFile(const std::filesystem::path& path, RadioImage& image,
                                const RadioImage* base = nullptr);

// Saves as SaveImageFile does, or as a configuration text when the name says so.
FileResult SaveImageOrConfigFile(const std::filesystem::path& path, const RadioImage& image);

// Every problem of a refused text, one "FILE:LINE: PATH: WHAT, accepted: ..." line each.
std::vector<std::string> ProblemLines(const std::string& file,
                                      const std::vector<ConfigProblem>& problems);

}  // namespace halyx
