#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "link/port_doctor.h"

namespace halyx::testing {

// A system as a test describes it, for the port doctor to reason about.
struct DescribedSystem final : SystemFacts {
    std::map<std::string, Owner> devices;  // those that exist
    std::vector<std::string> readWrite;
    std::string user = "tech";
    std::vector<std::string> active{"tech"};
    std::vector<std::string> members;
    std::map<std::string, std::vector<Holder>> holders;
    std::vector<std::string> installed;
    std::vector<std::string> running;

    static bool In(const std::vector<std::string>& list, const std::string& item) {
        return std::find(list.begin(), list.end(), item) != list.end();
    }
    bool DeviceExists(const std::string& path) const override { return devices.count(path) != 0; }
    Owner DeviceOwner(const std::string& path) const override { return devices.at(path); }
    bool CanReadWrite(const std::string& path) const override { return In(readWrite, path); }
    std::string UserName() const override { return user; }
    std::vector<std::string> ActiveGroups() const override { return active; }
    std::vector<std::string> MemberGroups() const override { return members; }
    std::vector<Holder> Holders(const std::string& path) const override {
        const auto found = holders.find(path);
        return found == holders.end() ? std::vector<Holder>{} : found->second;
    }
    bool ProgramInstalled(const std::string& name) const override { return In(installed, name); }
    bool ProgramRunning(const std::string& name) const override { return In(running, name); }
};

}  // namespace halyx::testing
