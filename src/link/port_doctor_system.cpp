// The port doctor's facts on this machine: the device node, the group database and /proc.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "link/port_doctor.h"

namespace halyx {
namespace {

constexpr std::size_t kNameBufferSize = 16384;

std::string GroupNameOf(gid_t gid) {
    std::vector<char> buffer(kNameBufferSize);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return std::to_string(gid);
    }
    return found->gr_name;
}

std::string UserNameOf(uid_t uid) {
    std::vector<char> buffer(kNameBufferSize);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return std::to_string(uid);
    }
    return found->pw_name;
}

std::string ProgramOf(const std::filesystem::path& processFolder) {
    std::ifstream in(processFolder / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

class LinuxFacts final : public SystemFacts {
public:
    bool DeviceExists(const std::string& path) const override {
        std::error_code error;
        return std::filesystem::exists(path, error);
    }
    Owner DeviceOwner(const std::string& path) const override {
        struct stat node {};
        if (stat(path.c_str(), &node) != 0) {
            return {};
        }
        return {UserNameOf(node.st_uid), GroupNameOf(node.st_gid)};
    }
    bool CanReadWrite(const std::string& path) const override {
        return access(path.c_str(), R_OK | W_OK) == 0;
    }
    std::string UserName() const override { return UserNameOf(getuid()); }
    std::vector<std::string> ActiveGroups() const override {
        std::vector<gid_t> ids(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)) + 1);
        const int count = getgroups(static_cast<int>(ids.size()), ids.data());
        std::vector<std::string> names{GroupNameOf(getegid())};
        for (int i = 0; i < count; ++i) {
            names.push_back(GroupNameOf(ids[static_cast<std::size_t>(i)]));
        }
        return names;
    }
    std::vector<std::string> MemberGroups() const override {
        std::vector<std::string> names;
        const std::string user = UserName();
        std::ifstream in("/etc/group");
        for (std::string line; std::getline(in, line);) {
            // name:password:gid:member,member,...
            const std::size_t last = line.rfind(':');
            if (last == std::string::npos) {
                continue;
            }
            const std::string members = "," + line.substr(last + 1) + ",";
            if (members.find("," + user + ",") != std::string::npos) {
                names.push_back(line.substr(0, line.find(':')));
            }
        }
        return names;
    }
    std::vector<Holder> Holders(const std::string& path) const override {
        std::vector<Holder> holders;
        std::error_code error;
        const std::filesystem::path device = std::filesystem::canonical(path, error);
        if (error) {
            return holders;
        }
        const int self = getpid();
        for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
            const std::string name = process.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(name) == self) {
                continue;
            }
            // Only processes we may look into: another user's are not listed, as the system
            // would not tell us anyway.
            std::error_code fdError;
            for (const auto& fd :
                 std::filesystem::directory_iterator(process.path() / "fd", fdError)) {
                std::error_code linkError;
                if (std::filesystem::read_symlink(fd.path(), linkError) == device) {
                    holders.push_back({std::stoi(name), ProgramOf(process.path())});
                    break;
                }
            }
        }
        return holders;
    }
    bool ProgramInstalled(const std::string& name) const override {
        std::error_code error;
        for (const char* folder : {"/usr/bin/", "/usr/sbin/", "/bin/", "/sbin/"}) {
            if (std::filesystem::exists(std::string(folder) + name, error)) {
                return true;
            }
        }
        return false;
    }
    bool ProgramRunning(const std::string& name) const override {
        std::error_code error;
        for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
            const std::string pid = process.path().filename().string();
            if (pid.find_first_not_of("0123456789") == std::string::npos &&
                ProgramOf(process.path()) == name) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<SystemFacts> LocalSystemFacts() {
    return std::make_unique<LinuxFacts>();
}

}  // namespace halyx
