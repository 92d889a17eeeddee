#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace halyx {

// Whether a run's outputs can be kept, asked before the run changes anything (a radio written,
// an image replaced): a failure found afterwards would leave the change with no record of it.
// Each answers why not in words ("is a folder"), or nothing when the place will do.

// A file replaced whole: not a folder, a pipe or a device, in a folder that takes a new file.
std::optional<std::string> WhyNotWritable(const std::filesystem::path& file);
// A folder that files are created in; it is created when missing.
std::optional<std::string> WhyFolderNotWritable(const std::filesystem::path& folder);
// A file lines are appended to: a regular file, or a place one can be created.
std::optional<std::string> WhyNotAppendable(const std::filesystem::path& file);

}  // namespace halyx
