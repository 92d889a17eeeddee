#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/same_file.h"
#include "history/history_places.h"

namespace halyx::cli {

// A file a command reads or writes, with the option that named it ("-o", "--report", "IMAGE.kda").
struct NamedPath {
    std::string option;
    std::string path;  // empty: not given, never compared
};

// Refuses, with a message on standard error, an output that is one of the inputs or another
// output: replacing it would lose the input or half of the outputs. A status when refused.
std::optional<int> RefuseClashingOutputs(const std::vector<NamedPath>& inputs,
                                         const std::vector<NamedPath>& outputs);

// The audit log of a run as an output no option may name.
NamedPath AuditLogOutput(const HistoryPlaces& places);

// Why `file` cannot be written (replaced whole, as outputs are), or nothing when it can: it
// names a folder, a pipe or a device, or its folder is missing or takes no new file.
std::optional<std::string> WhyNotWritable(const std::filesystem::path& file);
// The same for a folder that files are created in; it is created when missing.
std::optional<std::string> WhyFolderNotWritable(const std::filesystem::path& folder);
// The same for a file lines are appended to: a regular file, or a place one can be created.
std::optional<std::string> WhyNotAppendable(const std::filesystem::path& file);

}  // namespace halyx::cli
