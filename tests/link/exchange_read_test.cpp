#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "exchange_harness.h"
#include "link/radio_read_exchange.h"
#include "link/traffic_log.h"

namespace halyx::test {
namespace {

RadioImage ImageOf(std::uint8_t seed) {
    RadioImage image;
    image.bytes = PatternMemory(seed);
    return image;
}

bool SameRange(const RadioImage& image, const RadioPeer::Memory& m, std::size_t from,
               std::size_t to) {
    return std::equal(image.bytes.begin() + from, image.bytes.begin() + to, m.begin() + from);
}

class RadioRead : public ::testing::Test {
protected:
    RadioImage image = ImageOf(3);
    const RadioImage before = image;
};

TEST_F(RadioRead, FillsHeaderAndRecordsAndNothingElse) {
    ExchangeHarness h(PatternMemory(100));
    RadioReadExchange read(h.link, image, h.observer);
    h.Run(read);
    ASSERT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_TRUE(SameRange(image, h.peer.memory(), 0, 41));
    EXPECT_TRUE(SameRange(image, h.peer.memory(), 67, 607));
    EXPECT_TRUE(SameRange(image, before.bytes, 41, 67));
    EXPECT_TRUE(SameRange(image, before.bytes, 607, kImageSize));
    EXPECT_EQ(image.length, before.length);
}

TEST_F(RadioRead, SendsOneRequestAndTwentyAcksAndReportsProgressAndMarkers) {
    ExchangeHarness h(PatternMemory(100));
    RadioReadExchange read(h.link, image, h.observer);
    h.Run(read);
    std::vector<Bytes> expected = {kRequestSettingsBytes};
    expected.insert(expected.end(), 20, kAckBytes);
    EXPECT_EQ(h.Frames(), expected);
    std::vector<int> progress;
    for (int n = 2; n <= 21; ++n) {
        progress.push_back(n);
    }
    EXPECT_EQ(h.observer.progress, progress);
    EXPECT_EQ(h.observer.markers, (std::vector<std::string>{std::string(kReadStartMarker),
                                                            std::string(kReadEndMarker)}));
    EXPECT_EQ(h.observer.timers, (std::vector<int>{kReadTimer, kNoTimer}));
}

TEST_F(RadioRead, AnswersAreTakenAtOnceWhenPolledAndOnTheNextTickOtherwise) {
    ExchangeHarness polled(PatternMemory(100));
    RadioReadExchange a(polled.link, image, polled.observer);
    EXPECT_EQ(polled.Run(a), 0);  // the whole stream is taken without a single tick
    RadioImage other = before;
    ExchangeHarness ticked(PatternMemory(100));
    RadioReadExchange b(ticked.link, other, ticked.observer);
    EXPECT_EQ(ticked.Run(b, 10000, /*usePoll=*/false), 21);
    EXPECT_EQ(polled.Frames(), ticked.Frames());
    EXPECT_EQ(image.bytes, other.bytes);
}

TEST_F(RadioRead, SilentRadioGetsTwoNaksASecondApartAndFailsAtTick300) {
    RadioPeerFaults faults;
    faults.silent = true;
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    EXPECT_EQ(h.Run(read), 300);
    EXPECT_EQ(h.Frames(), (std::vector<Bytes>{kRequestSettingsBytes, kNakBytes, kNakBytes}));
    EXPECT_EQ(h.FrameTicks(), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(h.observer.progress, std::vector<int>{0});
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_EQ(h.link.exchange().retries, 0);
}

TEST_F(RadioRead, ThreeBadSettingsChecksumsGetThreeNaksAndFailWithoutATimeOut) {
    RadioPeerFaults faults;
    faults.badChecksum = {1, 3};
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    EXPECT_EQ(h.Run(read), 0);
    EXPECT_EQ(h.Frames(),
              (std::vector<Bytes>{kRequestSettingsBytes, kNakBytes, kNakBytes, kNakBytes}));
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(image.bytes, before.bytes);
}

TEST_F(RadioRead, TwoBadSettingsChecksumsAreRecoveredFrom) {
    RadioPeerFaults faults;
    faults.badChecksum = {1, 2};
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    h.Run(read);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_EQ(h.Frames().size(), 1u + 2u + 20u);
}

TEST_F(RadioRead, BadRecordChecksumIsAskedForAgainOnlyAfterTheTimeOut) {
    RadioPeerFaults faults;
    faults.badChecksum = {5, 1};
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    EXPECT_EQ(h.Run(read), 100);
    const auto frames = h.Frames();
    const auto ticks = h.FrameTicks();
    // Request, ACK after settings and blocks 2..4 at tick 0; then silence until the NAK.
    ASSERT_EQ(frames.size(), 1u + 4u + 1u + 16u);
    EXPECT_EQ(frames[5], kNakBytes);
    EXPECT_EQ(ticks[4], 0);
    EXPECT_EQ(ticks[5], 100);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_TRUE(SameRange(image, h.peer.memory(), 67, 607));
}

TEST_F(RadioRead, RecordThatStaysBadFailsAndLeavesTheImageAsItWas) {
    RadioPeerFaults faults;
    faults.badChecksum = {5, 3};
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    EXPECT_EQ(h.Run(read), 300);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    // Settings and blocks 2..4 had arrived; none of them may reach the image.
    EXPECT_EQ(image.bytes, before.bytes);
}

TEST_F(RadioRead, CancelledReadLeavesTheImageAndReportsNothing) {
    ExchangeHarness h(PatternMemory(100));
    RadioReadExchange read(h.link, image, h.observer);
    read.Start();
    h.sink.Deliver(h.link, &read);  // settings block taken, record 2 on its way
    h.sink.Deliver(h.link, &read);
    read.Cancel();
    EXPECT_FALSE(read.IsRunning());
    read.Tick();
    h.sink.Deliver(h.link, &read);
    EXPECT_TRUE(h.observer.results.empty());
    EXPECT_EQ(image.bytes, before.bytes);
}

TEST_F(RadioRead, LineFaultsThatCostOneAttemptAreRecoveredFrom) {
    struct Case {
        const char* name;
        RadioPeerFaults faults;
        int ticks;
    };
    RadioPeerFaults garbage;
    garbage.garbageBytes = 5;
    RadioPeerFaults corrupt;
    corrupt.corruptLength = {1, 1};
    RadioPeerFaults dropped;
    dropped.dropFrame = {7, 1};
    RadioPeerFaults twice;
    twice.dropFrame = {21, 2};
    for (const Case& c : {Case{"garbage", garbage, 0}, Case{"corrupt length", corrupt, 100},
                          Case{"dropped", dropped, 100}, Case{"dropped twice", twice, 200}}) {
        RadioImage target = before;
        ExchangeHarness h(PatternMemory(100), c.faults);
        RadioReadExchange read(h.link, target, h.observer);
        EXPECT_EQ(h.Run(read), c.ticks) << c.name;
        EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success})
            << c.name;
        EXPECT_TRUE(SameRange(target, h.peer.memory(), 67, 607)) << c.name;
    }
}

TEST_F(RadioRead, RadioThatDisappearsMidwayFails) {
    RadioPeerFaults faults;
    faults.disappearAfterFrames = 6;
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    EXPECT_EQ(h.Run(read), 300);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(image.bytes, before.bytes);
}

TEST_F(RadioRead, EndMarkerBytesInPayloadsAddTrafficLinesOnly) {
    RadioPeer::Memory memory{};
    memory.fill(0x10);
    const auto path = std::filesystem::temp_directory_path() / "halyx_read_0x10.log";
    TrafficLog log;
    ASSERT_TRUE(log.Open(path));
    ExchangeHarness h(memory, {}, &log);
    RadioReadExchange read(h.link, image, h.observer);
    h.Run(read);
    log.Close();
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_TRUE(SameRange(image, memory, 0, 41));
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int received = 0;
    int sent = 0;
    while (std::getline(in, line)) {
        received += line.rfind("Radio->PC:  ", 0) == 0;
        sent += line.rfind("PC->Radio:  ", 0) == 0;
    }
    std::filesystem::remove(path);
    // One line per 0x10 after the start byte of every frame the radio sent (payload, end byte,
    // and any header byte that happens to be 0x10).
    int expected = 0;
    for (std::uint16_t block = 1; block <= 21; ++block) {
        const Bytes payload(block == 1 ? 41 : 27, 0x10);
        const LinkFrame f =
            LinkFrame::Build(kOpRead, block == 1 ? kKindSettings : kKindRecord, block,
                             payload.data(), static_cast<std::uint8_t>(payload.size()));
        expected +=
            static_cast<int>(std::count(f.bytes.begin() + 1, f.bytes.begin() + f.size, 0x10));
    }
    EXPECT_GE(expected, 42 + 20 * 28);
    EXPECT_EQ(received, expected);
    EXPECT_EQ(sent, 21);
}

TEST_F(RadioRead, StartingAgainAfterAFailureReadsCleanly) {
    RadioPeerFaults faults;
    faults.badChecksum = {1, 3};
    ExchangeHarness h(PatternMemory(100), faults);
    RadioReadExchange read(h.link, image, h.observer);
    h.Run(read);
    h.Run(read);
    EXPECT_EQ(h.observer.results,
              (std::vector<ExchangeResult>{ExchangeResult::LinkFailure, ExchangeResult::Success}));
    EXPECT_TRUE(SameRange(image, h.peer.memory(), 0, 41));
}

}  // namespace
}  // namespace halyx::test
