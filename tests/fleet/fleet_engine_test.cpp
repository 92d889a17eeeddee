#include "fleet/fleet_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fleet/fleet_history.h"
#include "history/sha256.h"
#include "image/frequency_codec.h"
#include "peer_fleet_port.h"
#include "support/temp_dir.h"

namespace halyx::test {
namespace {

using Memory = RadioPeer::Memory;

constexpr std::int64_t kTickMs = 10;
constexpr std::uint16_t kPause = 200;  // 2 s between write and read-back
constexpr std::int64_t kPauseMs = kPause * kTickMs;
constexpr std::int64_t kReadTimeoutMs = 3 * 100 * kTickMs;  // three attempts of a second each

Memory Pattern(std::uint8_t seed) {
    Memory m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
    }
    return m;
}

void PutText(Memory& m, std::size_t offset, std::size_t size, const std::string& text) {
    std::fill_n(m.begin() + static_cast<std::ptrdiff_t>(offset), size, std::uint8_t{0});
    std::copy(text.begin(), text.end(), m.begin() + static_cast<std::ptrdiff_t>(offset));
}

Memory Radio(std::uint8_t seed, const std::string& serial, const std::string& userId) {
    Memory m = Pattern(seed);
    PutText(m, header::kSerialNumber, header::kSerialNumberSize, serial);
    PutText(m, header::kUserId, header::kUserIdSize, userId);
    return m;
}

bool SameRange(const Memory& a, const Memory& b, std::size_t from, std::size_t to) {
    return std::equal(a.begin() + static_cast<std::ptrdiff_t>(from),
                      a.begin() + static_cast<std::ptrdiff_t>(to),
                      b.begin() + static_cast<std::ptrdiff_t>(from));
}

// Keeps backups in memory and the reports in the order the radios ended.
struct MemoryRecorder : FleetRecorder {
    BackupOutcome SaveBackup(const RadioImage& image) override {
        const std::string serial = SerialNumberOf(image);
        if (serial == refuseSerial) {
            return {"", "disk full"};
        }
        backups.push_back(image);
        return {"backup-" + serial + ".kda", ""};
    }
    void RadioFinished(const FleetRadioReport& report) override { finished.push_back(report); }

    std::string refuseSerial = "-";
    std::vector<RadioImage> backups;
    std::vector<FleetRadioReport> finished;
};

class Fleet : public ::testing::Test {
protected:
    Fleet() {
        fleetImage.bytes = Pattern(101);
        fleetImage.length = 2048;
        PutText(fleetImage.bytes, header::kSerialNumber, header::kSerialNumberSize, "FLEET");
        PutText(fleetImage.bytes, header::kUserId, header::kUserIdSize, "FL");
    }

    PeerFleetPort& AddRadio(const Memory& memory, RadioPeerFaults faults = {},
                            RadioOverrides overrides = {}) {
        ports.push_back(std::make_unique<PeerFleetPort>(memory, faults));
        const std::string name = "COM" + std::to_string(ports.size());
        setups.push_back({name, "/dev/tty" + name, std::move(overrides)});
        return *ports.back();
    }

    // Runs the engine the way a face does: every answer waiting is delivered, then a 10 ms tick.
    void Run(FleetMode mode = FleetMode::Write, int stopAfterTicks = -1,
             FleetRecorder* history = nullptr) {
        std::vector<FleetEngine::Radio> radios;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            radios.push_back({setups[i], ports[i].get()});
        }
        FleetRunSettings settings{mode, kPause, [this] { return now; }};
        engine = std::make_unique<FleetEngine>(fleetImage, std::move(radios), settings,
                                               history != nullptr ? history : &recorder);
        engine->Start();
        for (int tick = 0; engine->IsRunning() && tick < 100000; ++tick) {
            bool delivered = true;
            while (delivered) {
                delivered = false;
                for (auto& port : ports) {
                    delivered = port->Deliver() || delivered;
                }
            }
            if (tick == stopAfterTicks) {
                engine->Stop();
            }
            now += kTickMs;
            engine->Tick();
        }
    }

    std::vector<FleetResult> Results() const {
        std::vector<FleetResult> out;
        for (const auto& r : engine->Reports()) {
            out.push_back(r.result);
        }
        return out;
    }

    RadioImage fleetImage;
    std::int64_t now = 5000;
    std::vector<std::unique_ptr<PeerFleetPort>> ports;
    std::vector<FleetRadioSetup> setups;
    MemoryRecorder recorder;
    std::unique_ptr<FleetEngine> engine;
};

TEST_F(Fleet, EveryRadioGetsTheFleetImageWithItsOwnIdentityOrItsOverrides) {
    const Memory a = Radio(1, "SN0001", "U1");
    const Memory b = Radio(2, "SN0002", "U2");
    const Memory c = Radio(3, "SN0003", "U3");
    AddRadio(a);
    RadioOverrides renamed;
    renamed.serialNumber = "NEW-42";
    renamed.userId = "ID42";
    renamed.squelchLevel = 7;
    renamed.timeOut = 60;
    renamed.voxLevel = 3;
    renamed.txPower = 2;
    AddRadio(b, {}, renamed);
    AddRadio(c);
    Run();

    ASSERT_EQ(Results(), std::vector<FleetResult>(3, FleetResult::Success));
    const std::vector<Memory> before = {a, b, c};
    const auto reports = engine->Reports();
    ASSERT_EQ(recorder.backups.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        // The backup holds what the radio held in every byte that travels on the link.
        const Memory& backup = recorder.backups[i].bytes;
        EXPECT_TRUE(SameRange(backup, before[i], 0, kHeaderSize));
        EXPECT_TRUE(SameRange(backup, before[i], kFirstRecordOffset, kRecordsEnd));
        EXPECT_EQ(reports[i].imageRead->bytes, backup);
        EXPECT_EQ(reports[i].backupPath, "backup-" + reports[i].serialBefore + ".kda");

        // The radio now holds the fleet image, except for its identity.
        Memory expected = fleetImage.bytes;
        expected[kFirstRecordOffset] = 1;  // channel 1's in-use mark always goes out set
        if (i == 1) {
            PutText(expected, header::kSerialNumber, header::kSerialNumberSize, "NEW-42");
            PutText(expected, header::kUserId, header::kUserIdSize, "ID42");
            expected[header::kSquelchLevel] = 7;
            expected[header::kTimeOut] = 60;
            expected[header::kVoxLevel] = 3;
            expected[header::kTxPower] = 2;
        } else {
            std::copy_n(before[i].begin() + header::kSerialNumber, header::kSerialNumberSize,
                        expected.begin() + header::kSerialNumber);
            std::copy_n(before[i].begin() + header::kUserId, header::kUserIdSize,
                        expected.begin() + header::kUserId);
        }
        EXPECT_TRUE(SameRange(ports[i]->peer().memory(), expected, 0, kHeaderSize));
        EXPECT_TRUE(
            SameRange(ports[i]->peer().memory(), expected, kFirstRecordOffset, kRecordsEnd));
        EXPECT_FALSE(ports[i]->IsOpen());
        EXPECT_EQ(engine->radio(i).progress(), kFleetWriteSteps);

        EXPECT_EQ(reports[i].portName, "COM" + std::to_string(i + 1));
        EXPECT_EQ(reports[i].devicePath, "/dev/ttyCOM" + std::to_string(i + 1));
        EXPECT_EQ(reports[i].serialBefore, "SN000" + std::to_string(i + 1));
        EXPECT_EQ(reports[i].userIdBefore, "U" + std::to_string(i + 1));
        EXPECT_EQ(reports[i].serialAfter, i == 1 ? "NEW-42" : reports[i].serialBefore);
        EXPECT_EQ(reports[i].userIdAfter, i == 1 ? "ID42" : reports[i].userIdBefore);
        EXPECT_EQ(reports[i].message, "");
        // A quick radio: everything but the pause before the read-back takes no time at all.
        EXPECT_EQ(reports[i].times.read, 0);
        EXPECT_EQ(reports[i].times.write, kPauseMs);
        EXPECT_EQ(reports[i].times.verify, 0);
        EXPECT_EQ(reports[i].durationMs, kPauseMs);
    }
    ASSERT_EQ(recorder.finished.size(), 3u);
}

TEST_F(Fleet, FailingRadiosEndWithTheirOwnResultsWhileTheOthersSucceed) {
    const Memory good = Radio(1, "GOOD1", "G1");
    RadioPeerFaults silent;
    silent.silent = true;
    RadioPeerFaults naks;
    naks.nakBlock = {5, 3};  // the fourth record refused three times
    RadioPeerFaults vanishes;
    vanishes.disappearAfterFrames = 30;  // after the read, during the write
    RadioPeerFaults differs;
    differs.readBackDiffers = true;
    AddRadio(good);
    AddRadio(Radio(2, "SILENT", "S"), silent);
    const Memory nakking = Radio(3, "NAKS", "N");
    AddRadio(nakking, naks);
    AddRadio(Radio(4, "GONE", "V"), vanishes);
    AddRadio(Radio(5, "DIFF", "D"), differs);
    AddRadio(Radio(6, "NOPORT", "P")).succeed = false;
    const Memory unsaved = Radio(7, "NOBACKUP", "B");
    AddRadio(unsaved);
    AddRadio(Radio(8, "GOOD8", "G8"));
    // A radio built for the other band than the image: backed up, never written.
    Memory otherBand = Radio(9, "OTHER", "O");
    otherBand[header::kBand] =
        BandLimitsFor(fleetImage.bytes[header::kBand]).lowerHz == BandLimitsFor(kLowBand).lowerHz
            ? kLowBand + 1
            : kLowBand;
    AddRadio(otherBand);
    recorder.refuseSerial = "NOBACKUP";
    Run();

    EXPECT_EQ(Results(),
              (std::vector<FleetResult>{
                  FleetResult::Success, FleetResult::LinkFailure, FleetResult::LinkFailure,
                  FleetResult::PortError, FleetResult::ReadBackDiffers, FleetResult::PortError,
                  FleetResult::BackupError, FleetResult::Success, FleetResult::OtherBand}));
    const auto r = engine->Reports();
    EXPECT_EQ(ports[8]->peer().memory(), otherBand);
    EXPECT_EQ(r[8].backupPath, "backup-OTHER.kda");
    EXPECT_EQ(FleetResultName(r[8].result), "other-band");
    // Only the radio that answered the read and then refused a block of the write says so.
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].writeRefused, i == 2) << i;
    }
    EXPECT_EQ(r[1].message, "the radio did not answer the read; nothing was written");
    EXPECT_EQ(r[1].backupPath, "");
    EXPECT_EQ(r[1].durationMs, kReadTimeoutMs);  // its time-outs did not hold the others up
    EXPECT_EQ(r[0].durationMs, kPauseMs);
    EXPECT_EQ(r[2].message,
              "the radio did not accept the write; the radio may hold a partly written "
              "configuration");
    EXPECT_EQ(r[2].backupPath, "backup-NAKS.kda");
    EXPECT_EQ(ports[2]->peer().memory()[header::kSerialNumber], nakking[header::kSerialNumber]);
    EXPECT_EQ(r[3].message,
              "the serial port went away during the write; the radio may hold a partly written "
              "configuration");
    EXPECT_EQ(r[4].message, "the records read back differ from what was written");
    EXPECT_EQ(r[5].message, "the serial port cannot be opened");
    EXPECT_EQ(r[5].serialBefore, "");
    EXPECT_EQ(r[6].message, "the backup could not be saved (disk full); nothing was written");
    EXPECT_EQ(ports[6]->peer().memory(), unsaved);  // a radio without a backup is left alone
    EXPECT_FALSE(r[6].imageWritten.has_value());
    EXPECT_EQ(ports[1]->peer().memory(), Radio(2, "SILENT", "S"));
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_FALSE(ports[i]->IsOpen()) << i;
        EXPECT_EQ(engine->radio(i).progress(), i == 0 || i == 7 ? kFleetWriteSteps : 0) << i;
    }
    EXPECT_FALSE(engine->AllSucceeded());
    // Each radio is recorded once, as it ends: the quick failures first, the silent one last.
    ASSERT_EQ(recorder.finished.size(), r.size());
    EXPECT_EQ(recorder.finished.front().portName, "COM6");
    EXPECT_EQ(recorder.finished.back().portName, "COM2");
}

TEST_F(Fleet, StopEndsTheRadiosStillRunningAsCancelled) {
    RadioPeerFaults silent;
    silent.silent = true;
    AddRadio(Radio(1, "A", "A"));
    AddRadio(Radio(2, "B", "B"), silent);
    Run(FleetMode::Write, 50);  // the first is pausing before its read-back, the second waiting
    EXPECT_EQ(Results(),
              (std::vector<FleetResult>{FleetResult::Cancelled, FleetResult::Cancelled}));
    const auto r = engine->Reports();
    EXPECT_EQ(r[0].message,
              "stopped during the write; the radio may hold a partly written configuration");
    EXPECT_EQ(r[1].message, "stopped during the read; nothing was written");
    EXPECT_EQ(recorder.finished.size(), 2u);
    const int framesAtStop = ports[0]->peer().framesReceived();
    engine->Tick();
    EXPECT_EQ(ports[0]->peer().framesReceived(), framesAtStop);
}

TEST_F(Fleet, ReadOnlyRunBacksUpEveryRadioAndWritesNothing) {
    const Memory a = Radio(1, "R1", "A");
    const Memory b = Radio(2, "R2", "B");
    AddRadio(a);
    AddRadio(b);
    Run(FleetMode::Read);
    EXPECT_EQ(Results(), std::vector<FleetResult>(2, FleetResult::Success));
    EXPECT_EQ(ports[0]->peer().memory(), a);
    EXPECT_EQ(ports[1]->peer().memory(), b);
    EXPECT_EQ(ports[0]->peer().framesReceived(), 21);  // the request and twenty ACKs
    ASSERT_EQ(recorder.backups.size(), 2u);
    EXPECT_TRUE(SameRange(recorder.backups[1].bytes, b, kFirstRecordOffset, kRecordsEnd));
    EXPECT_EQ(engine->Reports()[1].serialAfter, "");
    EXPECT_EQ(engine->radio(1).progress(), kFleetReadSteps);
}

TEST_F(Fleet, BackupFilesHoldWhatEachRadioHeldAndEachRadioGetsOneAuditLine) {
    testing::TempDir dir;
    const BackupStore store(dir / "backups");
    const AuditLog audit(dir / "audit.jsonl");
    const auto wall = std::chrono::system_clock::from_time_t(1'780'000'000);
    FleetHistory history({.backups = &store,
                          .retention = {},
                          .audit = &audit,
                          .program = "halyx-cli",
                          .operation = "fleet write",
                          .clock = [wall] { return wall; }});
    const Memory held = Radio(1, "SN0001", "U1");
    RadioPeerFaults silent;
    silent.silent = true;
    AddRadio(held);
    AddRadio(Radio(2, "SN0002", "U2"), silent);
    Run(FleetMode::Write, -1, &history);

    const auto reports = engine->Reports();
    ASSERT_EQ(store.List(), std::vector<std::filesystem::path>{reports[0].backupPath});
    const std::vector<std::uint8_t> backup = testing::ReadBytes(reports[0].backupPath);
    ASSERT_EQ(backup.size(), 2048u);  // the fleet image's length
    EXPECT_TRUE(std::equal(backup.begin(), backup.begin() + kHeaderSize, held.begin()));
    EXPECT_TRUE(std::equal(backup.begin() + kFirstRecordOffset, backup.begin() + kRecordsEnd,
                           held.begin() + kFirstRecordOffset));

    Memory sent = fleetImage.bytes;
    std::copy_n(held.begin() + header::kSerialNumber, header::kSerialNumberSize,
                sent.begin() + header::kSerialNumber);
    std::copy_n(held.begin() + header::kUserId, header::kUserIdSize,
                sent.begin() + header::kUserId);
    const std::string line0 =
        "{\"time\":\"2026-05-28T20:26:40.000Z\",\"program\":\"halyx-cli\","
        "\"operation\":\"fleet write\",\"port\":\"COM1\",\"device\":\"/dev/ttyCOM1\","
        "\"serialNumber\":\"SN0001\",\"userId\":\"U1\",\"sha256Read\":\"" +
        Sha256Hex(backup.data(), backup.size()) + "\",\"sha256Written\":\"" +
        Sha256Hex(sent.data(), sent.size()) +
        "\",\"result\":\"success\",\"durationMs\":2000,\"backup\":\"" + reports[0].backupPath +
        "\"}\n";
    const std::string line1 =
        "{\"time\":\"2026-05-28T20:26:40.000Z\",\"program\":\"halyx-cli\","
        "\"operation\":\"fleet write\",\"port\":\"COM2\",\"device\":\"/dev/ttyCOM2\","
        "\"serialNumber\":null,\"userId\":null,\"sha256Read\":null,\"sha256Written\":null,"
        "\"result\":\"link-failure\",\"durationMs\":3000,\"backup\":null}\n";
    EXPECT_EQ(testing::ReadText(audit.path()), line0 + line1);
    EXPECT_TRUE(history.auditErrors().empty());
}

TEST_F(Fleet, RowsKeyedBySerialWaitForEveryReadThenGoToTheRadiosHoldingThoseSerials) {
    RadioPeerFaults slow;
    slow.dropFrame = {3, 2};  // the read of the second radio waits out two time-outs
    AddRadio(Radio(1, "SN0001", "U1"));
    AddRadio(Radio(2, "SN0002", "U2"), slow);
    AddRadio(Radio(3, "SN0003", "U3"));
    std::vector<OverridesRow> rows(2);
    rows[0] = {2, "SN0003", {}};
    rows[0].overrides.userId = "CAR3";
    rows[1] = {3, "SN0002", {}};
    rows[1].overrides.serialNumber = "SN0002B";
    rows[1].overrides.squelchLevel = 4;
    std::vector<FleetEngine::Radio> radios;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        radios.push_back({setups[i], ports[i].get()});
    }
    engine = std::make_unique<FleetEngine>(
        fleetImage, std::move(radios),
        FleetRunSettings{FleetMode::Write, kPause, [this] { return now; }}, &recorder);
    engine->SetOverridesBySerial(rows);
    engine->Start();
    bool firstWroteBeforeSecondWasRead = false;
    while (engine->IsRunning()) {
        for (auto& port : ports) {
            while (port->Deliver()) {
            }
        }
        firstWroteBeforeSecondWasRead |= ports[0]->peer().framesReceived() > 21 &&
                                         engine->radio(1).phase() == FleetPhase::Reading;
        now += kTickMs;
        engine->Tick();
    }
    EXPECT_FALSE(firstWroteBeforeSecondWasRead);
    EXPECT_EQ(Results(), std::vector<FleetResult>(3, FleetResult::Success));
    const auto r = engine->Reports();
    EXPECT_EQ(r[0].serialAfter, "SN0001");
    EXPECT_EQ(r[0].userIdAfter, "U1");
    EXPECT_EQ(r[1].serialAfter, "SN0002B");
    EXPECT_EQ(r[1].userIdAfter, "U2");
    EXPECT_EQ(ports[1]->peer().memory()[header::kSquelchLevel], 4);
    EXPECT_EQ(r[2].serialAfter, "SN0003");
    EXPECT_EQ(r[2].userIdAfter, "CAR3");
    // The wait for the slow read belongs to no phase: the quick radios' phases add up as before.
    EXPECT_EQ(r[0].times.read + r[0].times.write + r[0].times.verify, kPauseMs);
    EXPECT_GE(r[0].durationMs, kPauseMs + 2 * kReadTimeoutMs / 3);
    EXPECT_TRUE(engine->unmatchedOverrides().empty());
}

TEST_F(Fleet, ARowKeyedToASerialNoRadioHoldsMeansNothingIsWrittenToAnyRadio) {
    RadioPeerFaults silent;
    silent.silent = true;
    const Memory a = Radio(1, "SN0001", "U1");
    const Memory b = Radio(2, "SN0002", "U2");
    AddRadio(a);
    AddRadio(b);
    AddRadio(Radio(3, "SN0003", "U3"), silent);
    std::vector<OverridesRow> rows = {{2, "SN0001", {}}, {3, "SN0003", {}}};
    rows[0].overrides.userId = "X";
    std::vector<FleetEngine::Radio> radios;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        radios.push_back({setups[i], ports[i].get()});
    }
    engine = std::make_unique<FleetEngine>(
        fleetImage, std::move(radios),
        FleetRunSettings{FleetMode::Write, kPause, [this] { return now; }}, &recorder);
    engine->SetOverridesBySerial(rows);
    engine->Start();
    while (engine->IsRunning()) {
        for (auto& port : ports) {
            while (port->Deliver()) {
            }
        }
        now += kTickMs;
        engine->Tick();
    }
    EXPECT_EQ(Results(), (std::vector<FleetResult>{FleetResult::Cancelled, FleetResult::Cancelled,
                                                   FleetResult::LinkFailure}));
    const auto r = engine->Reports();
    const std::string message =
        "nothing was written: the overrides do not match the radios read (line 3: no radio read "
        "has serial number 'SN0003')";
    EXPECT_EQ(r[0].message, message);
    EXPECT_EQ(r[1].message, message);
    EXPECT_EQ(ports[0]->peer().memory(), a);
    EXPECT_EQ(ports[1]->peer().memory(), b);
    EXPECT_EQ(ports[0]->peer().framesReceived(), 21);  // the read only
    EXPECT_EQ(r[0].backupPath, "backup-SN0001.kda");   // still backed up
    EXPECT_FALSE(r[0].imageWritten.has_value());
    EXPECT_FALSE(ports[0]->IsOpen());
    ASSERT_EQ(engine->unmatchedOverrides().size(), 1u);
    EXPECT_EQ(engine->unmatchedOverrides()[0].line, 3);
    EXPECT_EQ(recorder.finished.size(), 3u);
}

// The band is a radio's hardware: a radio of the other band is read and backed up like any
// other, then left as it was, while the rest of the fleet is written.
TEST_F(Fleet, ARadioOfTheOtherBandIsBackedUpAndLeftAsItWas) {
    Memory other = Radio(1, "OTHER", "O");
    const bool fleetLow = fleetImage.bytes[header::kBand] == kLowBand;
    other[header::kBand] = fleetLow ? 1 : kLowBand;
    AddRadio(other);
    AddRadio(Radio(2, "GOOD2", "G2"));
    Run();

    EXPECT_EQ(Results(), (std::vector<FleetResult>{FleetResult::OtherBand, FleetResult::Success}));
    const auto r = engine->Reports();
    const std::string radio = fleetLow ? "406.1-470 MHz" : "136-174 MHz";
    const std::string image = fleetLow ? "136-174 MHz" : "406.1-470 MHz";
    EXPECT_EQ(r[0].message, "refused: the radio is a " + radio + " radio and the image is for " +
                                image + "; nothing was written");
    EXPECT_EQ(r[0].backupPath, "backup-OTHER.kda");
    EXPECT_FALSE(r[0].imageWritten.has_value());
    EXPECT_EQ(ports[0]->peer().memory(), other);
}

}  // namespace
}  // namespace halyx::test
