// Any text offered as a fleet's overrides file: every problem is reported with a line and a text
// safe to print, or every row is usable, and no value a radio would refuse reaches its settings.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fleet/fleet_overrides.h"
#include "fleet/fleet_ports.h"
#include "fuzz_check.h"
#include "image/visible_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> ports = {"COM1", "COM2", "/dev/ttyUSB0"};
    const halyx::OverridesPlan plan = halyx::PlanFleetOverrides(
        text, ports, [](std::string_view key) { return halyx::FleetPortName(key); });
    // Keyed by port, or refused: one entry per port. Keyed by serial number: the rows wait.
    FUZZ_CHECK(plan.key == halyx::OverridesKey::Radio && plan.ok()
                   ? plan.perRadio.empty()
                   : plan.perRadio.size() == ports.size());
    FUZZ_CHECK(std::is_sorted(plan.problems.begin(), plan.problems.end(),
                              [](const auto& a, const auto& b) { return a.line < b.line; }));
    for (const halyx::OverridesProblem& problem : plan.problems) {
        FUZZ_CHECK(problem.line >= 0);
        FUZZ_CHECK(!problem.message.empty());
        const std::string described = halyx::DescribeOverridesProblem(problem);
        FUZZ_CHECK(halyx::VisibleText(described) == described);
    }
    const halyx::OverridesParse parse = halyx::ParseFleetOverrides(text);
    FUZZ_CHECK(parse.ok() || parse.overrides.rows.empty());
    if (!plan.ok()) {
        FUZZ_CHECK(plan.serialRows.empty());
        return 0;
    }
    // Every accepted value is one the settings take: applying it leaves no control character.
    for (const halyx::RadioOverrides& overrides : plan.perRadio) {
        halyx::CommonSettings settings(halyx::HeaderBytes{});
        halyx::ApplyOverrides(overrides, settings);
        FUZZ_CHECK(!halyx::HasControlCharacters(settings.serialNumber()));
        FUZZ_CHECK(!halyx::HasControlCharacters(settings.userId()));
    }
    return 0;
}
