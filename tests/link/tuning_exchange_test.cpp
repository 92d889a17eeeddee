#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "exchange_harness.h"
#include "link/commands.h"
#include "link/traffic_log.h"
#include "link/tuning_read_exchange.h"
#include "link/tuning_write_exchange.h"

namespace halyx::test {
namespace {

Bytes TestFrame(std::uint8_t op, const std::uint8_t* data, std::size_t n) {
    const LinkFrame f = LinkFrame::Build(op, kKindTest, 0, data, static_cast<std::uint8_t>(n));
    return Bytes(f.bytes.begin(), f.bytes.begin() + f.size);
}

TEST(TuningRead, TakesTheRadiosTwelveBytes) {
    ExchangeHarness h;
    h.peer.testValues().bytes = {1, 11, 12, 13, 2, 21, 22, 23, 3, 31, 32, 33};
    TestValues values;
    TuningReadExchange read(h.link, values, h.observer);
    EXPECT_EQ(h.Run(read), 0);
    const Bytes zeros(12, 0);
    EXPECT_EQ(h.Frames(), std::vector<Bytes>{TestFrame(1, zeros.data(), 12)});
    EXPECT_EQ(values.bytes, h.peer.testValues().bytes);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
}

TEST(TuningRead, SilentRadioIsAskedThreeTimesAndValuesStayAsTheyWere) {
    RadioPeerFaults faults;
    faults.silent = true;
    ExchangeHarness h({}, faults);
    TestValues values;
    values.bytes.fill(0x5A);
    TuningReadExchange read(h.link, values, h.observer);
    EXPECT_EQ(h.Run(read), 300);
    EXPECT_EQ(h.FrameTicks(), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(h.Frames()[0], h.Frames()[2]);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(values.bytes[0], 0x5A);
}

TEST(TuningRead, BadChecksumIsIgnoredAndACorrectResendInTheSameWaitIsTaken) {
    ExchangeHarness h;
    TestValues values;
    TuningReadExchange read(h.link, values, h.observer);
    read.Start();
    const std::array<std::uint8_t, 12> good = {10, 1, 2, 3, 11, 4, 5, 6, 12, 7, 8, 9};
    Bytes bad = TestFrame(1, good.data(), good.size());
    bad[5] = static_cast<std::uint8_t>(bad[5] ^ 0x40);
    for (std::uint8_t b : bad) {
        h.link.OnByteReceived(b);
        read.Poll();
    }
    read.Tick();
    EXPECT_TRUE(read.IsRunning());
    EXPECT_EQ(h.Frames().size(), 1u);  // no NAK for it
    for (std::uint8_t b : TestFrame(1, good.data(), good.size())) {
        h.link.OnByteReceived(b);
    }
    read.Tick();
    EXPECT_FALSE(read.IsRunning());
    EXPECT_EQ(values.bytes, good);
}

class TuningWrite : public ::testing::Test {
protected:
    TuningWrite() {
        image.bytes = PatternMemory(40);
        image.bytes[header::kBand] = 1;
        values.bytes = {1, 100, 101, 102, 2, 110, 111, 112, 3, 120, 121, 122};
    }
    RadioImage image;
    TestValues values;
};

TEST_F(TuningWrite, SendsValuesSettingsRecordsThenChecksTheReadBack) {
    ExchangeHarness h;
    TuningWriteExchange write(h.link, image, values, h.observer);
    EXPECT_EQ(h.Run(write), 200);
    const auto frames = h.Frames();
    ASSERT_EQ(frames.size(), 1u + 1u + 20u + 1u + 20u);
    EXPECT_EQ(frames[0], TestFrame(2, values.bytes.data(), 12));
    EXPECT_EQ(frames[1][2], kKindSettings);
    EXPECT_EQ(frames[21][3], 21);
    EXPECT_EQ(frames[22], kRequestSettingsBytes);
    EXPECT_EQ(h.FrameTicks()[22], 200);
    EXPECT_EQ(h.peer.testValues().bytes, values.bytes);
    std::vector<int> progress;
    for (int n = 1; n <= 20; ++n) {
        progress.push_back(n);
    }
    EXPECT_EQ(h.observer.progress, progress);
    EXPECT_EQ(h.observer.phases, std::vector<ExchangePhase>{ExchangePhase::ReadingBack});
    EXPECT_EQ(h.observer.timers, (std::vector<int>{kTuningWriteTimer, kVerifyTimer, kNoTimer}));
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
}

TEST_F(TuningWrite, RefusedValuesFailAndLogTheTimeOutMarker) {
    RadioPeerFaults faults;
    faults.nakBlock = {0, 3};
    const auto path = std::filesystem::temp_directory_path() / "halyx_tuning_fail.log";
    TrafficLog log;
    ASSERT_TRUE(log.Open(path));
    ExchangeHarness h({}, faults, &log);
    TuningWriteExchange write(h.link, image, values, h.observer, kNoPause);
    EXPECT_EQ(h.Run(write), 0);
    log.Close();
    EXPECT_EQ(h.Frames().size(), 3u);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(h.observer.progress, std::vector<int>{0});
    EXPECT_EQ(h.observer.markers, std::vector<std::string>{std::string(kTimeOutMarker)});
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    EXPECT_TRUE(text.ends_with(kTimeOutMarker));
}

TEST_F(TuningWrite, DifferentReadBackIsReportedAndTheTitleStays) {
    RadioPeerFaults faults;
    faults.readBackDiffers = true;
    ExchangeHarness h({}, faults);
    TuningWriteExchange write(h.link, image, values, h.observer, kNoPause);
    h.Run(write);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::ReadBackDiffers});
    EXPECT_EQ(h.observer.phases, std::vector<ExchangePhase>{ExchangePhase::ReadingBack});
}

TEST_F(TuningWrite, ReadBackThatNeverComesFailsAfterTwoNaks) {
    RadioPeerFaults faults;
    faults.silentAfterWrite = true;
    ExchangeHarness h({}, faults);
    TuningWriteExchange write(h.link, image, values, h.observer, kNoPause);
    EXPECT_EQ(h.Run(write), 300);
    EXPECT_EQ(h.Frames().size(), 22u + 3u);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(h.observer.markers.size(), 1u);
}

TEST(TuningPoint, RadioRecordsTheChangesAndAnswersNothing) {
    ExchangeHarness h;
    TestPoint point;
    ASSERT_TRUE(SendTestPointChange(h.link, point, 9, 77, false));
    EXPECT_FALSE(h.sink.HasPendingAnswer());
    ASSERT_EQ(h.peer.testPoints().size(), 1u);
    EXPECT_EQ(h.peer.testPoints()[0].bytes, (std::array<std::uint8_t, 5>{18, 1, 0, 0, 77}));
}

}  // namespace
}  // namespace halyx::test
