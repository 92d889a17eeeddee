#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/fleet_report.h"
#include "image/common_settings.h"

namespace halyx {

// A fleet's overrides file: a CSV header row naming a key column, `port` (the port as the user
// names it) or `radio` (the serial number the radio holds before the run), and any of the
// columns serialNumber, userId, squelch, tot, vox, power with values as `halyx-cli set` takes
// them. An empty cell leaves that value as the fleet image (or the radio's identity) has it.
enum class OverridesKey { Port, Radio };

struct OverridesRow {
    int line = 0;     // the line of the file the row starts on
    std::string key;  // the port name or the serial number
    RadioOverrides overrides;
};

struct FleetOverrides {
    OverridesKey key = OverridesKey::Port;
    std::vector<OverridesRow> rows;
};

// A refused part of the file, or a row that matches no radio; line 0 is the file as a whole.
struct OverridesProblem {
    int line = 0;
    std::string message;
};

struct OverridesParse {
    FleetOverrides overrides;
    std::vector<OverridesProblem> problems;  // every one found, in the order of the file
    bool ok() const { return problems.empty(); }
};

// Reads the whole file and reports every bad header, row and value together, so one edit fixes
// them all. The rows are only usable when ok().
OverridesParse ParseFleetOverrides(std::string_view csvText);

// "line 4: squelch: '12' is not allowed; use 1..9".
std::string DescribeOverridesProblem(const OverridesProblem& problem);
// Every problem, one per line, each line ended.
std::string DescribeOverridesProblems(const std::vector<OverridesProblem>& problems);

// Puts a radio's overrides into its settings through the settings' own setters, so an override
// the panel or `halyx-cli set` would refuse is never written; a value left out stays as it is.
void ApplyOverrides(const RadioOverrides& overrides, CommonSettings& settings);

struct OverridesMatch {
    std::vector<RadioOverrides> perRadio;    // one per key given, in that order
    std::vector<OverridesProblem> problems;  // rows matching no radio, or more than one
    bool ok() const { return problems.empty(); }
};

// Gives each radio, named by its key (its port name, or the serial number read from it), the
// overrides of the row with that key. A row whose key no radio has is a problem, as is a row
// whose key two radios share: both would mean writing what the user did not ask for.
OverridesMatch MatchOverrides(const FleetOverrides& overrides,
                              const std::vector<std::string>& radioKeys);

// An overrides file checked against the radios of a run, with every problem of the file and of
// the matching found in one go, in the order of the file.
struct OverridesPlan {
    OverridesKey key = OverridesKey::Port;
    std::vector<RadioOverrides> perRadio;    // keyed by port: one per port given, in that order
    std::vector<OverridesRow> serialRows;    // keyed by serial number: matched once radios are read
    std::vector<OverridesProblem> problems;  // nothing of the file is usable unless empty
    bool ok() const { return problems.empty(); }
};

// Reads the file and, for rows keyed by port, matches them to `portNames` after `portKey` has
// turned each row's key into a port name as the ports themselves were named. A refused value
// and a row for a port not given are reported together.
OverridesPlan PlanFleetOverrides(std::string_view csvText,
                                 const std::vector<std::string>& portNames,
                                 const std::function<std::string(std::string_view)>& portKey);

}  // namespace halyx
