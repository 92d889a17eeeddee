#include "files/image_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "files/raw_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::CountingBytes;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

RadioImage ImageFilledWith(std::uint8_t value, std::uint16_t length) {
    RadioImage image;
    image.bytes.fill(value);
    image.length = length;
    return image;
}

TEST(ImageFileLoad, FullSizeFileRoundTripsByteForByte) {
    TempDir dir;
    const auto bytes = CountingBytes(kImageSize);
    WriteBytes(dir / "full.kda", bytes);
    RadioImage image;
    ASSERT_TRUE(LoadImageFile(dir / "full.kda", image).ok());
    EXPECT_EQ(image.length, kImageSize);
    ASSERT_TRUE(SaveImageFile(dir / "copy.kda", image).ok());
    EXPECT_EQ(ReadBytes(dir / "copy.kda"), bytes);
}

TEST(ImageFileLoad, OversizeFileIsReportedAndChangesNothing) {
    TempDir dir;
    WriteBytes(dir / "big.kda", CountingBytes(kImageSize + 1));
    RadioImage image = ImageFilledWith(0x5A, 700);
    const FileResult result = LoadImageFile(dir / "big.kda", image);
    EXPECT_EQ(result.cause, FileErrorCause::TooLarge);
    EXPECT_EQ(result.size, 2049u);
    EXPECT_EQ(result.limit, 2048u);
    EXPECT_EQ(image.length, 700);
    EXPECT_TRUE(
        std::all_of(image.bytes.begin(), image.bytes.end(), [](auto b) { return b == 0x5A; }));
    const std::string text = FileErrorTextEnglish(result);
    EXPECT_NE(text.find("big.kda"), std::string::npos);
    EXPECT_NE(text.find("2049"), std::string::npos);
    EXPECT_NE(text.find("2048"), std::string::npos);
}

TEST(ImageFileLoad, ShortFileReplacesOnlyItsOwnBytes) {
    TempDir dir;
    WriteBytes(dir / "short.kda", CountingBytes(100));
    RadioImage image = ImageFilledWith(0xEE, kImageSize);
    ASSERT_TRUE(LoadImageFile(dir / "short.kda", image).ok());
    EXPECT_EQ(image.length, 100);
    EXPECT_EQ(image.bytes[99], 100);
    EXPECT_EQ(image.bytes[100], 0xEE);
    EXPECT_EQ(image.bytes[2047], 0xEE);
}

TEST(ImageFileLoad, EmptyFileLoadsNothingAndSetsLengthZero) {
    TempDir dir;
    WriteBytes(dir / "empty.kda", {});
    RadioImage image = ImageFilledWith(0x33, 900);
    ASSERT_TRUE(LoadImageFile(dir / "empty.kda", image).ok());
    EXPECT_EQ(image.length, 0);
    EXPECT_EQ(image.bytes[0], 0x33);
}

TEST(ImageFileLoad, MissingFileNamesThePathInTheMessage) {
    TempDir dir;
    RadioImage image = ImageFilledWith(0x11, 607);
    const FileResult result = LoadImageFile(dir / "nothere.kda", image);
    EXPECT_EQ(result.cause, FileErrorCause::FileNotFound);
    EXPECT_EQ(FileErrorText(result), "没有找到 " + (dir / "nothere.kda").string() + "。");
    EXPECT_EQ(image.length, 607);
}

TEST(ImageFileLoad, DefaultImageComesFromTheCurrentDirectory) {
    TempDir dir;
    WriteBytes(dir / "default.kda", CountingBytes(607, 9));
    testing::ScopedCurrentDir inside(dir.path());
    RadioImage image;
    ASSERT_TRUE(LoadDefaultImage(image).ok());
    EXPECT_EQ(image.length, 607);
    EXPECT_EQ(image.bytes[0], 9);

    std::filesystem::remove(dir / "default.kda");
    const FileResult missing = LoadDefaultImage(image);
    EXPECT_EQ(missing.cause, FileErrorCause::FileNotFound);
    EXPECT_EQ(FileErrorText(missing), "没有找到 default.kda。");
}

TEST(ImageFileSave, AlwaysWritesTheHeaderAndAllRecords) {
    TempDir dir;
    RadioImage image = ImageFilledWith(0x42, 0);
    ASSERT_TRUE(SaveImageFile(dir / "a.kda", image).ok());
    EXPECT_EQ(ReadBytes(dir / "a.kda").size(), 607u);

    image.length = 100;
    ASSERT_TRUE(SaveImageFile(dir / "b.kda", image).ok());
    EXPECT_EQ(ReadBytes(dir / "b.kda").size(), 607u);

    image.length = 1000;
    ASSERT_TRUE(SaveImageFile(dir / "c.kda", image).ok());
    EXPECT_EQ(ReadBytes(dir / "c.kda").size(), 1000u) << "longer images keep their loaded length";
}

TEST(ImageFileSave, ReadOnlyTargetIsRefused) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    TempDir dir;
    const auto original = CountingBytes(607, 3);
    WriteBytes(dir / "keep.kda", original);
    chmod((dir / "keep.kda").c_str(), 0444);
    const FileResult result = SaveImageFile(dir / "keep.kda", ImageFilledWith(0, 607));
    EXPECT_EQ(result.cause, FileErrorCause::AccessDenied);
    EXPECT_EQ(ReadBytes(dir / "keep.kda"), original);
    EXPECT_EQ(FileErrorText(result), "对 " + (dir / "keep.kda").string() + " 的存取被拒绝。");
}

TEST(ImageFileSave, WriteFailureHalfwayLeavesTheOldFileIntact) {
    TempDir dir;
    const auto original = CountingBytes(2048, 3);
    WriteBytes(dir / "keep.kda", original);
    // A file-size limit makes the write fail part-way, as a full disk would.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    const FileResult result = SaveImageFile(dir / "keep.kda", ImageFilledWith(0, 607));
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_EQ(result.cause, FileErrorCause::DiskFull);
    EXPECT_EQ(ReadBytes(dir / "keep.kda"), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "the temporary file is cleaned up";
}

TEST(ImageFileSave, MissingFolderIsReportedAndLeavesNoTemporaryFile) {
    TempDir dir;
    const FileResult result = SaveImageFile(dir / "no" / "such.kda", ImageFilledWith(0, 607));
    EXPECT_EQ(result.cause, FileErrorCause::FileNotFound);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ImageFileSave, ReplacesAnExistingFileCompletely) {
    TempDir dir;
    WriteBytes(dir / "x.kda", CountingBytes(2048));
    ASSERT_TRUE(SaveImageFile(dir / "x.kda", ImageFilledWith(7, 607)).ok());
    const auto bytes = ReadBytes(dir / "x.kda");
    EXPECT_EQ(bytes.size(), 607u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](auto b) { return b == 7; }));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(RawFile, DirectoryIsNotAFile) {
    TempDir dir;
    EXPECT_FALSE(ReadSmallFile(dir.path(), 2048).result.ok());
    EXPECT_EQ(WriteFileAtomically(dir.path(), {1, 2}).cause, FileErrorCause::AccessDenied);
}

}  // namespace
}  // namespace halyx
