#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "files/image_file.h"
#include "history/audit_log.h"
#include "history/backup_store.h"
#include "history/history_places.h"
#include "history/operation_record.h"
#include "history/sha256.h"
#include "image/header_text.h"
#include "settings/setting_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::TempDir;
using Clock = std::chrono::system_clock;
using std::chrono::hours;

RadioImage ImageWithSerial(const std::string& serial, std::uint8_t fill) {
    RadioImage image;
    image.bytes.fill(fill);
    image.length = 700;
    std::fill_n(image.bytes.begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy(serial.begin(), serial.end(), image.bytes.begin() + header::kSerialNumber);
    return image;
}

std::string LocalStamp(Clock::time_point when, const char* pattern) {
    const std::time_t t = Clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32] = {};
    std::strftime(text, sizeof text, pattern, &tm);
    return text;
}

TEST(BackupStore, SavesEachReadUnderItsDayAndTimeWithoutReplacingAnEarlierOne) {
    TempDir dir;
    const BackupStore store(dir / "backups");
    const Clock::time_point when = Clock::from_time_t(1'780'000'000);
    const RadioImage first = ImageWithSerial("AB/12 x", 0x11);
    const RadioImage second = ImageWithSerial("AB/12 x", 0x22);
    const RadioImage unnamed = ImageWithSerial("", 0x33);

    const BackupResult a = store.Save(first, when);
    const BackupResult b = store.Save(second, when);
    const BackupResult c = store.Save(unnamed, when);
    ASSERT_TRUE(a.ok() && b.ok() && c.ok());

    const auto day = dir.path() / "backups" / LocalStamp(when, "%Y-%m-%d");
    const std::string time = LocalStamp(when, "%H%M%S");
    EXPECT_EQ(a.path, day / (time + "-AB_12_x.kda"));
    EXPECT_EQ(b.path, day / (time + "-AB_12_x-2.kda"));
    EXPECT_EQ(c.path, day / (time + "-unknown.kda"));
    // Each file is the image file of what was read, byte for byte.
    const auto expected = [](const RadioImage& image) {
        return std::vector<std::uint8_t>(image.bytes.begin(),
                                         image.bytes.begin() + SavedImageSize(image));
    };
    EXPECT_EQ(ReadBytes(a.path), expected(first));
    EXPECT_EQ(ReadBytes(b.path), expected(second));
    EXPECT_EQ(store.List().size(), 3u);
}

TEST(BackupStore, PruneKeepsTheNewestCountOrTheRecentDaysWhicheverKeepsMore) {
    TempDir dir;
    const BackupStore store(dir / "backups");
    const Clock::time_point now = Clock::from_time_t(1'780'000'000);
    std::vector<std::filesystem::path> saved;
    for (int daysAgo : {1, 2, 20, 30, 40}) {
        saved.push_back(store.Save(ImageWithSerial("R", 1), now - hours(24 * daysAgo)).path);
    }
    const auto stranger = saved.back().parent_path() / "notes.txt";
    testing::WriteBytes(stranger, {'x'});

    // A later run prunes: the backups this store saved are named by this run's audit lines.
    EXPECT_EQ(store.Prune({.keepFiles = 1, .keepDays = 0}, now), 0u);
    const BackupStore later(dir / "backups");
    // Three newest, or younger than 10 days: the three newest win.
    EXPECT_EQ(later.Prune({.keepFiles = 3, .keepDays = 10}, now), 2u);
    EXPECT_EQ(store.List(), (std::vector<std::filesystem::path>{saved[0], saved[1], saved[2]}));
    EXPECT_TRUE(std::filesystem::exists(stranger));                 // not a backup: never touched
    EXPECT_FALSE(std::filesystem::exists(saved[3].parent_path()));  // emptied day folder gone

    // One newest, or younger than 25 days: the days win.
    EXPECT_EQ(later.Prune({.keepFiles = 1, .keepDays = 25}, now), 0u);
    EXPECT_EQ(later.Prune({.keepFiles = 1, .keepDays = 10}, now), 1u);
    EXPECT_EQ(store.List(), (std::vector<std::filesystem::path>{saved[0], saved[1]}));
}

TEST(BackupStore, BackupsOfOneSecondAreOrderedAsTakenAndThisRunsAreNeverPruned) {
    TempDir dir;
    const Clock::time_point when = Clock::from_time_t(1'780'000'000);
    // Taken in this order within one second: by name "ZZ" would sort first, and "-2" before "";
    // the order they were taken in is the order they were written.
    std::vector<std::filesystem::path> taken;
    {
        const BackupStore earlier(dir / "backups");
        for (const char* serial : {"ZZ", "AA", "AA"}) {
            taken.push_back(earlier.Save(ImageWithSerial(serial, 1), when).path);
            std::filesystem::last_write_time(
                taken.back(), std::filesystem::file_time_type::clock::now() -
                                  std::chrono::seconds(1) +
                                  std::chrono::milliseconds(10 * static_cast<int>(taken.size())));
        }
    }
    const BackupStore store(dir / "backups");
    EXPECT_EQ(store.List(), (std::vector<std::filesystem::path>{taken[2], taken[1], taken[0]}));
    // keepFiles=1 keepDays=0: a read in the same second keeps its own backup, the newest.
    const BackupResult newest = store.SaveAndPrune(ImageWithSerial("BB", 2), {1, 0}, when);
    ASSERT_TRUE(newest.ok());
    EXPECT_EQ(store.List(), std::vector<std::filesystem::path>{newest.path});
    // A second radio of the same run: the first's backup, named by its audit line, stays.
    const BackupResult next = store.SaveAndPrune(ImageWithSerial("AA", 3), {1, 0}, when);
    EXPECT_EQ(store.List().size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(newest.path) && std::filesystem::exists(next.path));
}

TEST(AuditLog, AppendsOneCompleteJsonLinePerOperation) {
    TempDir dir;
    const AuditLog log(dir / "halyx" / "audit.jsonl");
    AuditEntry entry;
    entry.time = Clock::time_point(std::chrono::milliseconds(1'780'000'000'123));
    entry.program = "halyx-cli";
    entry.operation = "fleet write";
    entry.portName = "COM3";
    entry.devicePath = "/dev/ttyUSB2";
    entry.serialNumber = "S\"N\\1\xFF\x01";  // a quote, a backslash, a non-UTF-8 and a control byte
    entry.userId = "\xE4\xB8\xAD";           // UTF-8 passes through
    entry.sha256Read = "ab";
    entry.result = "read-back-differs";
    entry.durationMs = 4321;
    ASSERT_TRUE(log.Append(entry).ok());
    entry.result = "success";
    entry.sha256Written = "cd";
    entry.backupPath = "/b/1.kda";
    ASSERT_TRUE(log.Append(entry).ok());

    const std::string common =
        "{\"time\":\"2026-05-28T20:26:40.123Z\",\"program\":\"halyx-cli\","
        "\"operation\":\"fleet write\",\"port\":\"COM3\",\"device\":\"/dev/ttyUSB2\","
        "\"serialNumber\":\"S\\\"N\\\\1\\u00ff\\u0001\",\"userId\":\"\xE4\xB8\xAD\","
        "\"sha256Read\":\"ab\",";
    EXPECT_EQ(ReadText(log.path()),
              common +
                  "\"sha256Written\":null,\"result\":\"read-back-differs\",\"durationMs\":4321,"
                  "\"backup\":null}\n" +
                  common +
                  "\"sha256Written\":\"cd\",\"result\":\"success\",\"durationMs\":4321,"
                  "\"backup\":\"/b/1.kda\"}\n");
}

TEST(AuditLog, ALineCutShortEarlierDoesNotSwallowTheNextOne) {
    TempDir dir;
    const AuditLog log(dir / "audit.jsonl");
    testing::WriteBytes(log.path(), {'{', '"', 't'});
    ASSERT_TRUE(log.Append(AuditEntry{}).ok());
    const std::string text = ReadText(log.path());
    EXPECT_EQ(text.substr(0, 4), "{\"t\n");
    EXPECT_EQ(text.substr(4), AuditLine(AuditEntry{}));
}

TEST(AuditLog, APipeOrAFolderIsRefusedNotFedALineThatWouldBeLost) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    const FileResult pipe = AuditLog(dir / "pipe").Append(AuditEntry{});
    EXPECT_FALSE(pipe.ok());
    EXPECT_EQ(pipe.kind, FileKind::NamedPipe);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(AuditLog(dir / "folder").Append(AuditEntry{}).kind, FileKind::Folder);
    EXPECT_NE(FileErrorTextEnglish(pipe).find("named pipe"), std::string::npos);
}

TEST(HistoryHelpers, DigestOfAKnownText) {
    const std::string abc = "abc";
    EXPECT_EQ(Sha256Hex(reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Lengths either side of where the end mark and the length stop fitting in one block, and
    // an image's size; the bytes count up modulo 251 so no block repeats another.
    const std::vector<std::pair<std::size_t, std::string>> known{
        {0, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {55, "463eb28e72f82e0a96c0a4cc53690c571281131f672aa229e0d45ae59b598b59"},
        {56, "da2ae4d6b36748f2a318f23e7ab1dfdf45acdc9d049bd80e59de82a60895f562"},
        {63, "29af2686fd53374a36b0846694cc342177e428d1647515f078784d69cdb9e488"},
        {64, "fdeab9acf3710362bd2658cdc9a29e8f9c757fcf9811603a8c447cd1d9151108"},
        {65, "4bfd2c8b6f1eec7a2afeb48b934ee4b2694182027e6d0fc075074f2fabb31781"},
        {2048, "b2a8170614e23194ae2951423d601987f518ce2f11205d7b0b708080103b9f76"}};
    for (const auto& [size, digest] : known) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i % 251);
        }
        EXPECT_EQ(Sha256Hex(bytes.data(), bytes.size()), digest) << size << " bytes";
    }
}

// The places come from the user's data folder and the retention from the setting file, where
// anything but a whole number keeps the default rather than pruning the store away.
TEST(RadioOperations, PlacesAndRetentionComeFromTheLayoutAndItsSettingFile) {
    TempDir dir;
    FileLayout layout;
    layout.programDirectory = dir.path();
    layout.userDataDirectory = dir / "data";
    const HistoryPlaces defaults = ResolveHistoryPlaces(layout);
    EXPECT_EQ(defaults.backupFolder, dir / "data" / "backups");
    EXPECT_EQ(defaults.auditPath, dir / "data" / "audit.jsonl");
    EXPECT_EQ(defaults.retention.keepFiles, BackupRetention::kDefaultKeepFiles);
    EXPECT_EQ(defaults.retention.keepDays, BackupRetention::kDefaultKeepDays);

    const ProfileFile settings = SettingFileOf(layout);
    settings.writeText("backup", "keepFiles", "20");
    settings.writeText("backup", "keepDays", "one year");
    const HistoryPlaces set = ResolveHistoryPlaces(layout);
    EXPECT_EQ(set.retention.keepFiles, 20u);
    EXPECT_EQ(set.retention.keepDays, BackupRetention::kDefaultKeepDays);

    layout.userDataDirectory.clear();
    EXPECT_FALSE(ResolveHistoryPlaces(layout).known());
}

// A successful read leaves a backup and a line naming it; a failed one only the line; a write
// names the radio by what was sent; with backups off nothing but the line is written.
TEST(RadioOperations, RecordLeavesTheBackupAndTheAuditLineOfEachOperation) {
    TempDir dir;
    HistoryPlaces places;
    places.backupFolder = dir / "backups";
    places.auditPath = dir / "audit.jsonl";
    const Clock::time_point when = Clock::from_time_t(1'780'000'000);
    const RadioImage read = ImageWithSerial("R-1", 0x41);
    const RadioImage written = ImageWithSerial("W-2", 0x42);

    RadioOperation operation{"halyx-cli", "read",  "COM3",    "/dev/ttyUSB0",
                             &read,       nullptr, "success", 1200};
    const OperationRecord first = RecordRadioOperation(places, operation, true, when);
    ASSERT_TRUE(first.backupError.empty() && first.auditError.empty());
    EXPECT_EQ(
        ReadBytes(first.backupPath),
        std::vector<std::uint8_t>(read.bytes.begin(), read.bytes.begin() + SavedImageSize(read)));

    operation.result = "link-failure";
    EXPECT_TRUE(RecordRadioOperation(places, operation, true, when).backupPath.empty());
    operation.result = "success";
    EXPECT_TRUE(RecordRadioOperation(places, operation, false, when).backupPath.empty());
    const RadioOperation write{
        "halyx", "write", "COM1", "/dev/pts/7", nullptr, &written, "read-back-differs", 4000};
    RecordRadioOperation(places, write, true, when);
    EXPECT_EQ(BackupStore(places.backupFolder).List().size(), 1u);

    AuditEntry expected{
        when,           "halyx-cli",           "read", "COM3",    "/dev/ttyUSB0", "R-1",
        UserIdOf(read), ImageFileSha256(read), "",     "success", 1200,           first.backupPath};
    std::string lines = AuditLine(expected);
    expected.result = "link-failure";
    expected.backupPath.clear();
    lines += AuditLine(expected);
    expected.result = "success";
    lines += AuditLine(expected);
    lines += AuditLine({when, "halyx", "write", "COM1", "/dev/pts/7", "W-2", UserIdOf(written), "",
                        ImageFileSha256(written), "read-back-differs", 4000, ""});
    EXPECT_EQ(ReadText(places.auditPath), lines);
}

}  // namespace
}  // namespace halyx
