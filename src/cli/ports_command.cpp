// halyx-cli ports: every serial port with the cable behind it, as the port dialogs list them.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <iostream>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_output.h"
#include "fleet/fleet_ports.h"
#include "link/cable_list.h"
#include "settings/setting_file.h"

namespace halyx::cli {
namespace {

Json CablesJson(const std::vector<CableEntry>& cables) {
    Json list = Json::array();
    for (const CableEntry& cable : cables) {
        list.push_back({{"port", cable.comName},
                        {"device", JsonText(cable.devicePath)},
                        {"usbId", cable.usbId},
                        {"chip", cable.chip},
                        {"description", JsonText(cable.description)},
                        {"network", cable.network}});
    }
    return Json{{"ports", list}};
}

std::string CablesText(const std::vector<CableEntry>& cables) {
    if (cables.empty()) {
        return "No serial port found. Is the cable plugged in?\n";
    }
    std::string text;
    for (const CableEntry& cable : cables) {
        std::string line = cable.comName + "  " + cable.devicePath;
        for (const std::string* part : {&cable.usbId, &cable.chip, &cable.description}) {
            if (!part->empty()) {
                line += "  " + *part;
            }
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace

// The ports the numbers COM1.. reach, through the setting file's "devices" section as in the
// window, each once.
std::vector<CableEntry> ListCables() {
    const ProfileFile settings = SettingFile();  // the mapping reads it: it must outlive it
    const DeviceMapping mapping = DevicesFromSettingFile(settings);
    const std::vector<SerialDeviceInfo> devices = SystemSerialDevices();
    return CableList(ListComPorts(kFleetHighestPortNumber, mapping, devices), devices);
}

void AddPortsCommand(CLI::App& app, CommandContext& context) {
    static bool json = false;
    CLI::App* ports = app.add_subcommand(
        "ports", "list the serial ports: device, USB id, the adapter's chip and description");
    ports->add_flag("--json", json, "print the list as JSON");
    ports->callback([&context] {
        QCoreApplication qt(context.argc, context.argv);
        const std::vector<CableEntry> cables = ListCables();
        std::cout << (json ? ReadableJson(CablesJson(cables)) : CablesText(cables));
        context.status = kDone;
    });
}

}  // namespace halyx::cli
