// Names that lead to something other than a regular file: a named pipe, a device, a folder, an
// endless or oversize source. Each must be refused at once, saying what it is, and left alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

#include "files/image_file.h"
#include "files/raw_file.h"
#include "settings/language.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

namespace fs = std::filesystem;
using testing::CountingBytes;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr auto kPromptly = std::chrono::seconds(5);

// Runs `call` on its own thread and tells whether it returned within a few seconds. A call that
// hangs is released by `release` (it cannot be abandoned safely) so that the test fails, not
// the whole suite.
template <typename Result>
bool ReturnsPromptly(std::function<Result()> call, const std::function<void()>& release,
                     Result& result) {
    std::future<Result> running = std::async(std::launch::async, std::move(call));
    const bool prompt = running.wait_for(kPromptly) == std::future_status::ready;
    if (!prompt) {
        release();
    }
    result = running.get();
    return prompt;
}

// A reader waiting for a writer on a named pipe is let go by a writer that comes and goes.
std::function<void()> OpenWriterOn(const fs::path& fifo) {
    return [fifo] {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            close(fd);
        }
    };
}

RadioImage MarkedImage() {
    RadioImage image;
    image.bytes.fill(0x5A);
    image.length = 700;
    return image;
}

void ExpectUnchanged(const RadioImage& image) {
    EXPECT_EQ(image.length, 700);
    EXPECT_TRUE(
        std::all_of(image.bytes.begin(), image.bytes.end(), [](auto b) { return b == 0x5A; }));
}

TEST(NotARegularFile, NamedPipeIsRefusedAtOnceEverywhereItCanBeRead) {
    TempDir dir;
    const fs::path fifo = dir / "f.kda";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    RadioImage image = MarkedImage();
    FileResult loaded;
    ASSERT_TRUE(ReturnsPromptly<FileResult>([&] { return LoadImageFile(fifo, image); },
                                            OpenWriterOn(fifo), loaded))
        << "opening a named pipe waited for a writer";
    EXPECT_EQ(loaded.kind, FileKind::NamedPipe);
    EXPECT_EQ(loaded.cause, FileErrorCause::InvalidFile);
    EXPECT_EQ(FileErrorTextEnglish(loaded),
              fifo.string() + ": is not a regular file (a named pipe)");
    ExpectUnchanged(image);

    // The same pipe as the default image, a setting file and a language file.
    testing::ScopedCurrentDir inside(dir.path());
    ASSERT_EQ(mkfifo("default.kda", 0600), 0);
    ASSERT_TRUE(ReturnsPromptly<FileResult>([&] { return LoadDefaultImage(image); },
                                            OpenWriterOn(dir / "default.kda"), loaded));
    EXPECT_EQ(loaded.kind, FileKind::NamedPipe);
    ExpectUnchanged(image);

    const ProfileFile settings(fifo);
    std::string language;
    ASSERT_TRUE(
        ReturnsPromptly<std::string>([&] { return settings.readText("setup", "language", "none"); },
                                     OpenWriterOn(fifo), language));
    EXPECT_EQ(language, "none");
    const Language strings(fifo);
    std::string text;
    ASSERT_TRUE(ReturnsPromptly<std::string>([&] { return strings.LangString("S0000"); },
                                             OpenWriterOn(fifo), text));
    EXPECT_EQ(text, "");

    // Saving over it neither waits nor replaces the pipe with a file.
    FileResult saved;
    ASSERT_TRUE(ReturnsPromptly<FileResult>([&] { return SaveImageFile(fifo, image); },
                                            OpenWriterOn(fifo), saved));
    EXPECT_EQ(saved.kind, FileKind::NamedPipe);
    struct stat after {};
    ASSERT_EQ(lstat(fifo.c_str(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
}

TEST(NotARegularFile, LinkToADeviceIsNeitherReadAsEmptyNorReplaced) {
    TempDir dir;
    const fs::path device = dir / "null-device";
    // The test's own device node, so that a faulty save could never replace a system one.
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "this system does not let the test make a device node";
    }
    const fs::path link = dir / "l.kda";
    fs::create_symlink(device, link);

    RadioImage image = MarkedImage();
    const FileResult loaded = LoadImageFile(link, image);
    EXPECT_EQ(loaded.kind, FileKind::Device);
    EXPECT_EQ(FileErrorTextEnglish(loaded), link.string() + ": is not a regular file (a device)");
    ExpectUnchanged(image);

    const FileResult saved = SaveImageFile(link, image);
    EXPECT_EQ(saved.kind, FileKind::Device);
    EXPECT_EQ(saved.cause, FileErrorCause::InvalidFile);
    EXPECT_EQ(FileErrorText(saved), "一个无效的文件柄与 " + link.string() + " 相关联。");
    struct stat after {};
    ASSERT_EQ(lstat(device.c_str(), &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode)) << "the device node was replaced";
    EXPECT_EQ(after.st_rdev, makedev(1, 3));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << "no temporary is left";
}

TEST(NotARegularFile, LinkToARegularFileIsFollowedAndKeptALink) {
    TempDir dir;
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "radio.kda", CountingBytes(2048));
    fs::create_symlink(fs::path("real") / "radio.kda", dir / "l.kda");
    RadioImage image = MarkedImage();
    ASSERT_TRUE(SaveImageFile(dir / "l.kda", image).ok());
    EXPECT_TRUE(fs::is_symlink(dir / "l.kda"));
    EXPECT_EQ(ReadBytes(dir / "real" / "radio.kda"), std::vector<std::uint8_t>(700, 0x5A));

    // A link to a folder is refused like the folder itself, and the folder keeps its content.
    fs::create_directory_symlink("real", dir / "folder.kda");
    const FileResult saved = SaveImageFile(dir / "folder.kda", image);
    EXPECT_EQ(saved.kind, FileKind::Folder);
    EXPECT_TRUE(fs::is_directory(dir / "real"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), {}), 1);
}

TEST(NotARegularFile, FolderIsReportedAsAFolderNotAsAHugeFile) {
    TempDir dir;
    fs::create_directory(dir / "adir.kda");
    RadioImage image = MarkedImage();
    const FileResult loaded = LoadImageFile(dir / "adir.kda", image);
    EXPECT_EQ(loaded.kind, FileKind::Folder);
    EXPECT_EQ(loaded.cause, FileErrorCause::AccessDenied);
    EXPECT_EQ(FileErrorTextEnglish(loaded),
              (dir / "adir.kda").string() + ": is a folder, not a file");
    EXPECT_EQ(FileErrorText(loaded), "对 " + (dir / "adir.kda").string() + " 的存取被拒绝。");
    ExpectUnchanged(image);
    EXPECT_EQ(SaveImageFile(dir / "adir.kda", image).kind, FileKind::Folder);
    EXPECT_TRUE(fs::is_directory(dir / "adir.kda"));
}

TEST(NotARegularFile, EndlessOrOversizeSettingFileReadsAsAbsentAndIsNeverRewritten) {
    TempDir dir;
    // Just over the limit, with a value before the cut that a full read would find.
    std::string big = "[setup]\nlanguage=english\n";
    big.resize(static_cast<std::size_t>(kTextFileLimit) + 1, '#');
    { std::ofstream(dir / "setting.ini", std::ios::binary) << big; }
    const ProfileFile settings(dir / "setting.ini");
    EXPECT_EQ(settings.readText("setup", "language", "absent"), "absent");
    EXPECT_FALSE(settings.writeText("port", "com", "3"));
    EXPECT_EQ(testing::ReadText(dir / "setting.ini"), big) << "a refused write changed the file";

    const ReadResult read = ReadSmallFile(dir / "setting.ini", kTextFileLimit);
    EXPECT_EQ(read.result.cause, FileErrorCause::TooLarge);
    EXPECT_EQ(read.result.size, kTextFileLimit + 1);

    // A link to an endless device is refused without reading a byte of it.
    fs::create_symlink("/dev/zero", dir / "zero.ini");
    const ProfileFile endless(dir / "zero.ini");
    EXPECT_EQ(endless.readInt("port", "com", 7), 7);
    EXPECT_FALSE(endless.writeText("port", "com", "3"));
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
    EXPECT_EQ(Language(dir / "zero.ini").LangString("S0000"), "");

    // At the limit the file is still read.
    big.resize(static_cast<std::size_t>(kTextFileLimit));
    { std::ofstream(dir / "setting.ini", std::ios::binary | std::ios::trunc) << big; }
    EXPECT_EQ(settings.readText("setup", "language", "absent"), "english");

    // A file that holds more than its measured size (as /proc's do) is still read whole.
    const ReadResult status = ReadSmallFile("/proc/self/status", kTextFileLimit);
    EXPECT_TRUE(status.result.ok());
    EXPECT_NE(std::string(status.bytes.begin(), status.bytes.end()).find("\nPid:"),
              std::string::npos);
}

}  // namespace
}  // namespace halyx
