#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/output_place.h"
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

}  // namespace halyx::cli
