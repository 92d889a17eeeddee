#include "cli/fleet_ports.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "history/backup_store.h"

namespace halyx::cli {
namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

FleetPortList ParseFleetPorts(std::string_view text, const DeviceMapping& mapping) {
    FleetPortList list;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        start = comma + 1;
        const auto port = ParsePortText(item);
        if (!port || (port->devicePath.empty() && port->portNumber <= 0)) {
            list.error = "--ports: '" + std::string(item) +
                         "' is not a port; use COMn, n, a device path, rfc2217://HOST:PORT or "
                         "tcp://HOST:PORT, separated by commas";
            return list;
        }
        FleetPortChoice choice{FleetPortName(item), port->devicePath, {}};
        if (choice.devicePath.empty()) {
            choice.devicePath = ResolvePortDevice(port->portNumber, mapping);
        }
        for (const FleetPortChoice& earlier : list.ports) {
            if (earlier.name == choice.name) {
                list.error = "--ports: " + choice.name + " is given twice";
                return list;
            }
            // A link, a COM number and the path itself may all lead to one device.
            if (SameFleetDevice(earlier.devicePath, choice.devicePath)) {
                list.error = "--ports: " + earlier.name + " and " + choice.name +
                             " are the same device, " + choice.devicePath;
                return list;
            }
        }
        list.ports.push_back(std::move(choice));
    }
    return list;
}

std::vector<std::string> FleetReadFileNames(const std::vector<FleetRadioReport>& reports) {
    std::vector<std::string> names(reports.size());
    // Compared without case: on Windows and macOS "SN1.kda" and "sn1.kda" are one file.
    std::set<std::string> taken;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const FleetRadioReport& r = reports[i];
        if (r.result != FleetResult::Success || !r.imageRead) {
            continue;
        }
        const std::string stem =
            BackupStore::FileNameSerial(r.serialBefore.empty() ? r.portName : r.serialBefore);
        std::string name = stem + ".kda";
        for (int n = 2; taken.count(Lowered(name)) != 0; ++n) {
            name = stem + "-" + std::to_string(n) + ".kda";
        }
        taken.insert(Lowered(name));
        names[i] = name;
    }
    return names;
}

std::string FleetLogPath(const std::string& path, std::size_t number) {
    const std::filesystem::path given(path);
    std::filesystem::path numbered = given;
    numbered.replace_filename(given.stem().string() + "-" + std::to_string(number) +
                              given.extension().string());
    return numbered.string();
}

}  // namespace halyx::cli
