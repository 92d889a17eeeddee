// The port doctor's reasoning over described systems, the cable self-test over loopback
// doubles, and the cable names the port lists show.
#include <gtest/gtest.h>

#include <QMetaObject>
#include <QTimer>
#include <cstdlib>
#include <map>

#include "link/cable_list.h"
#include "link/cable_self_test.h"
#include "link/port_doctor.h"
#include "link/port_doctor_texts.h"
#include "settings/language.h"
#include "support/described_system.h"

namespace halyx {
namespace {

using testing::DescribedSystem;

const DoctorCheck& Find(const std::vector<DoctorCheck>& checks, const std::string& id) {
    const auto found = std::find_if(checks.begin(), checks.end(),
                                    [&](const DoctorCheck& c) { return c.id == id; });
    EXPECT_NE(found, checks.end()) << id;
    return *found;
}

TEST(PortDoctor, FindsEachCauseWithItsFixAndNamesTheFirstAsTheLikelyOne) {
    DescribedSystem system;
    const std::string usb = "/dev/ttyUSB0";
    system.devices[usb] = {"root", "dialout"};

    // Not in the group that owns the device: the command to join it.
    std::vector<DoctorCheck> checks = ExaminePort({usb, "CH340"}, system);
    EXPECT_EQ(Find(checks, "permission").outcome, CheckOutcome::Problem);
    EXPECT_EQ(Find(checks, "permission").fix,
              "sudo usermod -aG dialout $USER, then log out and in again");
    EXPECT_NE(LikelyCause(checks).find("not in the group dialout"), std::string::npos);

    // Joined, but this session is older than the membership.
    system.members = {"dialout"};
    checks = ExaminePort({usb, "CH340"}, system);
    EXPECT_NE(Find(checks, "permission").fix.find("log out and in again"), std::string::npos);
    EXPECT_EQ(Find(checks, "permission").fix.find("usermod"), std::string::npos);

    // Allowed, but another program holds it: which one.
    system.readWrite = {usb};
    system.holders[usb] = {{4242, "minicom"}};
    checks = ExaminePort({usb, "CH340"}, system);
    EXPECT_EQ(Find(checks, "permission").outcome, CheckOutcome::Ok);
    EXPECT_EQ(Find(checks, "holders").finding, usb + " is held by minicom (pid 4242)");
    EXPECT_EQ(LikelyCause(checks).rfind(usb + " is held by minicom", 0), 0u);

    // All well.
    system.holders.clear();
    checks = ExaminePort({usb, "CH340"}, system);
    EXPECT_TRUE(LikelyCause(checks).empty());

    // The device vanished: that is the only thing worth saying.
    checks = ExaminePort({"/dev/ttyUSB1", "CH340"}, system);
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].outcome, CheckOutcome::Problem);
    EXPECT_NE(checks[0].finding.find("does not exist"), std::string::npos);

    // A line on another machine has no device here to look at.
    checks = ExaminePort({"rfc2217://bench:4001", {}}, system);
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].outcome, CheckOutcome::Skipped);
}

TEST(PortDoctor, BrlttyAndModemManagerAreReportedByWhatTheyDoToTheCable) {
    DescribedSystem system;
    std::vector<DoctorCheck> checks = ExamineSystem(system, "CH340");
    EXPECT_EQ(Find(checks, "brltty").outcome, CheckOutcome::Ok);
    EXPECT_EQ(Find(checks, "modemmanager").outcome, CheckOutcome::Ok);

    system.installed = {"brltty"};
    EXPECT_EQ(Find(ExamineSystem(system, "CH340"), "brltty").outcome, CheckOutcome::Warning);
    // Running, it grabs CH340 and CP210x cables; an FTDI one it leaves alone.
    system.running = {"brltty", "ModemManager"};
    checks = ExamineSystem(system, "CP210x");
    EXPECT_EQ(Find(checks, "brltty").outcome, CheckOutcome::Problem);
    EXPECT_NE(Find(checks, "brltty").fix.find("systemctl mask brltty"), std::string::npos);
    EXPECT_EQ(Find(ExamineSystem(system, "FTDI FT232R"), "brltty").outcome, CheckOutcome::Warning);
    EXPECT_EQ(Find(checks, "modemmanager").outcome, CheckOutcome::Warning);
    EXPECT_NE(LikelyCause(checks).find("brltty"), std::string::npos);
}

PortTextLookup ShippedLanguage(const char* file) {
    const char* source = std::getenv("HALYX_SOURCE_DIR");
    const Language language(std::filesystem::path(source != nullptr ? source : ".") / "data" /
                            file);
    return [language](std::string_view key, std::string_view english) {
        return language.TextOr(key, english);
    };
}

// Every finding a described system can give, problems and all-well alike.
std::vector<DoctorCheck> EveryFinding(const std::string& usb) {
    DescribedSystem troubled;
    troubled.devices[usb] = {"root", "dialout"};
    troubled.running = {"brltty", "ModemManager"};
    troubled.holders[usb] = {{4242, "minicom"}};
    std::vector<DoctorCheck> checks = ExaminePort({usb, "CH340"}, troubled);
    const auto add = [&checks](const std::vector<DoctorCheck>& more) {
        checks.insert(checks.end(), more.begin(), more.end());
    };
    add(ExamineSystem(troubled, "CH340"));
    troubled.members = {"dialout"};
    add(ExaminePort({usb, {}}, troubled));
    troubled.devices[usb] = {"root", "root"};
    add(ExaminePort({usb, {}}, troubled));
    DescribedSystem calm;
    calm.devices[usb] = {"root", "dialout"};
    calm.readWrite = {usb};
    add(ExaminePort({usb, {}}, calm));
    add(ExamineSystem(calm));
    calm.installed = {"brltty"};
    add(ExamineSystem(calm));
    add(ExaminePort({"/dev/ttyUSB1", {}}, calm));
    add(ExaminePort({"tcp://bench:4001", {}}, calm));
    // The cable self-test: intact, nothing back, and half back with one byte changed.
    const std::vector<unsigned char> pattern = LoopbackPattern();
    std::vector<unsigned char> garbled(pattern.begin(), pattern.begin() + pattern.size() / 2);
    garbled[0] ^= 0x01;
    add({LoopbackCheck(pattern), LoopbackCheck({}), LoopbackCheck(garbled)});
    return checks;
}

TEST(PortDoctorTexts, EachFindingIsWordedInTheWindowsLanguageFromTheOneEnglishTable) {
    // A device name with "%2" in it must not pick up another fact.
    const std::string usb = "/dev/serial/by-id/usb-%2-if00";
    const std::vector<DoctorCheck> checks = EveryFinding(usb);
    const PortTextLookup english = ShippedLanguage("english.lang");
    const PortTextLookup chinese = ShippedLanguage("chinese.lang");
    const PortTextLookup missing = [](std::string_view, std::string_view text) {
        return std::string(text);
    };
    for (const DoctorCheck& check : checks) {
        SCOPED_TRACE(check.finding);
        ASSERT_NE(check.code, DoctorFinding::Told);
        // The shipped English file and a file without the keys both say what the command line says.
        for (const PortTextLookup& lookup : {english, missing}) {
            const DoctorWords words = DoctorCheckWords(check, lookup);
            EXPECT_EQ(words.finding, check.finding);
            EXPECT_EQ(words.fix, check.fix);
        }
        const DoctorWords words = DoctorCheckWords(check, chinese);
        EXPECT_NE(words.finding, check.finding);
        EXPECT_EQ(words.fix.empty(), check.fix.empty());
        if (!check.fix.empty()) {
            EXPECT_NE(words.fix, check.fix);
        }
        for (const std::string& fact : check.facts) {
            EXPECT_NE((words.finding + words.fix).find(fact), std::string::npos) << fact;
        }
    }
    EXPECT_EQ(Find(checks, "holders").finding, usb + " is held by minicom (pid 4242)");
    EXPECT_EQ(DoctorCheckWords(Find(checks, "holders"), chinese).fix,
              "关闭该程序（或：kill 4242）");
    EXPECT_EQ(LikelyCause(checks, chinese),
              "您（tech）不在拥有 " + usb +
                  " 的用户组 dialout 中; sudo usermod -aG dialout $USER，"
                  "然后注销并重新登录");
    EXPECT_EQ(LikelyCause(checks, english), LikelyCause(checks));

    for (const CheckOutcome outcome :
         {CheckOutcome::Ok, CheckOutcome::Warning, CheckOutcome::Problem, CheckOutcome::Skipped}) {
        EXPECT_EQ(OutcomeWord(outcome, english), OutcomeName(outcome));
    }
    EXPECT_EQ(OutcomeWord(CheckOutcome::Problem, chinese), "问题");
    // The checks' names: the ids in English, as the command line prints them; words in Chinese.
    for (const DoctorCheck& check : checks) {
        EXPECT_EQ(CheckName(check.id, english), check.id);
        EXPECT_EQ(CheckName(check.id, missing), check.id);
    }
    EXPECT_EQ(CheckName("permission", chinese), "权限");
    EXPECT_EQ(CheckName("loopback", chinese), "线缆自检");

    // A translation that words the finding but not the fix shows the English fix.
    const PortTextLookup partial = [](std::string_view key, std::string_view text) {
        return key == "S0393" ? std::string("%1 被 %2 占用") : std::string(text);
    };
    const DoctorWords held = DoctorCheckWords(Find(checks, "holders"), partial);
    EXPECT_EQ(held.finding, usb + " 被 minicom (pid 4242) 占用");
    EXPECT_EQ(held.fix, "close that program (or: kill 4242)");
}

// A loopback plug: what is written comes back, with `damage` applied on the way.
class LoopbackPort final : public LinkPort {
public:
    std::function<void(std::vector<std::uint8_t>&)> damage;
    bool Open(const PortText&, std::uint32_t) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        std::vector<std::uint8_t> echo(bytes, bytes + length);
        if (damage) {
            damage(echo);
        }
        // On a later turn of the loop, as a line would bring it.
        QTimer::singleShot(5, this, [this, echo] {
            for (const std::uint8_t byte : echo) {
                emit byteReceived(byte);
            }
        });
    }

private:
    bool open_ = false;
};

TEST(CableSelfTest, ReportsAnIntactLoopbackAndCatchesLostGarbledOrMissingBytes) {
    LoopbackPort port;
    port.Open({}, 9600);
    EXPECT_EQ(RunCableSelfTest(port, 1000).outcome, CheckOutcome::Ok);

    port.damage = [](std::vector<std::uint8_t>& bytes) { bytes[0xFF] ^= 0x01; };
    DoctorCheck garbled = RunCableSelfTest(port, 1000);
    EXPECT_EQ(garbled.outcome, CheckOutcome::Problem);
    EXPECT_EQ(garbled.finding, "256 of 256 bytes came back, 255 of them intact");

    port.damage = [](std::vector<std::uint8_t>& bytes) { bytes.resize(100); };
    EXPECT_EQ(RunCableSelfTest(port, 200).finding,
              "100 of 256 bytes came back, 100 of them intact");

    port.damage = [](std::vector<std::uint8_t>& bytes) { bytes.clear(); };
    EXPECT_EQ(RunCableSelfTest(port, 100).finding, "nothing came back");
}

TEST(CableList, NamesTheChipAndUsbIdsOfEachNumberedPort) {
    EXPECT_EQ(UsbChipName(0x1a86, 0x7523), "CH340");
    EXPECT_EQ(UsbChipName(0x1a86, 0x5523), "CH341");
    EXPECT_EQ(UsbChipName(0x067b, 0x2303), "PL2303");
    EXPECT_EQ(UsbChipName(0x10c4, 0xea60), "CP210x");
    EXPECT_EQ(UsbChipName(0x0403, 0x6001), "FTDI FT232R");
    EXPECT_EQ(UsbChipName(0x0403, 0x1234), "FTDI");
    EXPECT_EQ(UsbChipName(0x2341, 0x0043), "");

    const std::vector<SerialDeviceInfo> devices = {
        {"/dev/ttyUSB0", "USB Serial", true, 0x1a86, 0x7523},
        {"/dev/ttyS0", "", false, 0, 0},
    };
    const std::vector<ComPortEntry> ports = {
        {1, "/dev/ttyUSB0", "USB Serial"}, {2, "/dev/ttyS0", ""}, {3, "rfc2217://bench:4001", ""}};
    const std::vector<CableEntry> cables = CableList(ports, devices);
    ASSERT_EQ(cables.size(), 3u);
    EXPECT_EQ(cables[0].comName, "COM1");
    EXPECT_EQ(cables[0].usbId, "1a86:7523");
    EXPECT_EQ(cables[0].chip, "CH340");
    EXPECT_EQ(cables[0].description, "USB Serial");
    EXPECT_TRUE(cables[1].usbId.empty());
    EXPECT_TRUE(cables[2].network);
}

}  // namespace
}  // namespace halyx
