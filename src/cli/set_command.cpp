#include <CLI/CLI.hpp>
#include <map>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_argument.h"
#include "cli/image_edits.h"

namespace halyx::cli {
namespace {

constexpr const char* kEditsHelp = R"(Edits apply in the order given, with the main window's rules:
  --channel N                   channel (1..20) for the channel edits that follow
  --rx TEXT                     receive frequency in MHz, as typed into the grid; also sets transmit;
                                clamped to the band and snapped to the channel step; "" empties the channel
  --tx TEXT                     transmit frequency only
  --rx-tone TONE                receive tone (also sets transmit): off, 67.0 .. 254.1, D023N .. D754N
  --tx-tone TONE                transmit tone only
  --bandwidth 12.5K|25K
  --tot off|30..180             time-out timer in seconds (steps of 10)
  --vox off|1..9   --squelch 1..9   --settings-channel 1..20
  --language 0|1   --power 0|1|2   --scramble on|off   --compand on|off
  --serial TEXT                 serial number: letters, digits and spaces, at most 10
  --user-id TEXT                user ID, at most 6 characters
Without -o the file is rewritten in place (atomically). Nothing is written if any edit is refused.
IMAGE.kda and -o may also name configuration texts (*.halyx.yaml): each is read or written as
its name says.)";

struct SetOptions {
    std::string input;
    std::string output;
    std::map<std::string, std::vector<std::string>> values;
};

int RunSet(const SetOptions& options, const std::vector<EditOption>& edits) {
    RadioImage image;
    if (const int status = LoadImageArgument(options.input, image); status != kDone) {
        return status;
    }
    // Tones are named as scripts name them: "off" and the table's CTCSS and DCS texts.
    ToneTable tones;
    BuildToneTable(tones, "off");
    RadioDocument document(image);
    std::vector<std::string> corrections;
    if (const auto refused = ApplyEdits(edits, tones, document, &corrections)) {
        PrintError(DescribeEditError(*refused) + "; nothing was written");
        return kUsage;
    }
    // Stored all the same, as the grid stores them: a script must still hear of it.
    for (const std::string& correction : corrections) {
        PrintError(correction);
    }
    // A configuration text stays one: the output's name says which form is written.
    return SaveImageArgument(options.output.empty() ? options.input : options.output,
                             document.image());
}

}  // namespace

void AddSetCommand(CLI::App& app, CommandContext& context) {
    static SetOptions options;
    CLI::App* set = app.add_subcommand("set", "edit an image file offline");
    set->footer(kEditsHelp);
    set->add_option("IMAGE.kda", options.input, "image file")->required();
    set->add_option("-o", options.output, "write the result here instead");
    for (const std::string& name : EditOptionNames()) {
        set->add_option(name, options.values[name])->allow_extra_args(false);
    }
    set->callback([&context, set] {
        // The edits' order matters (--channel applies to what follows), so they are replayed in
        // the order they were given rather than option by option.
        std::vector<EditOption> edits;
        std::map<std::string, std::size_t> used;
        for (const CLI::Option* option : set->parse_order()) {
            const std::string name = option->get_name();
            const auto values = options.values.find(name);
            if (values != options.values.end()) {
                edits.push_back({name, values->second.at(used[name]++)});
            }
        }
        context.status = RunSet(options, edits);
    });
}

}  // namespace halyx::cli
