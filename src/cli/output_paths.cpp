#include "cli/output_paths.h"

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "files/same_file.h"

namespace halyx::cli {

std::optional<int> RefuseClashingOutputs(const std::vector<NamedPath>& inputs,
                                         const std::vector<NamedPath>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& out = outputs[i];
        if (out.path.empty()) {
            continue;
        }
        const auto clash = [&out](const NamedPath& other, const char* role) {
            PrintError(out.option + ": " + out.path + " is the same file as " + role +
                       other.option + " (" + other.path + "); nothing was written");
            return kUsage;
        };
        for (const NamedPath& in : inputs) {
            if (SameFile(out.path, in.path)) {
                return clash(in, "the input ");
            }
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (SameFile(out.path, outputs[k].path)) {
                return clash(outputs[k], "the output ");
            }
        }
    }
    return std::nullopt;
}

NamedPath AuditLogOutput(const HistoryPlaces& places) {
    return {"the audit log", places.auditPath.string()};
}

}  // namespace halyx::cli
