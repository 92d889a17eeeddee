#include <gtest/gtest.h>

#include <algorithm>

#include "exchange_harness.h"
#include "link/commands.h"
#include "link/radio_write_exchange.h"

namespace halyx::test {
namespace {

Bytes Expected(std::uint8_t op, std::uint8_t kind, std::uint16_t block, const std::uint8_t* data,
               std::size_t n) {
    const LinkFrame f = LinkFrame::Build(op, kind, block, data, static_cast<std::uint8_t>(n));
    return Bytes(f.bytes.begin(), f.bytes.begin() + f.size);
}

class RadioWrite : public ::testing::Test {
protected:
    RadioWrite() {
        image.bytes = PatternMemory(9);
        image.bytes[kFirstRecordOffset] = 0;  // channel 1's in-use mark not set in the image
    }
    RadioImage image;
};

TEST_F(RadioWrite, WritesVerifiesAndReportsEqualDespiteTheForcedInUseMark) {
    ExchangeHarness h(PatternMemory(200));
    const RadioImage before = image;
    RadioWriteExchange write(h.link, image, h.observer);
    h.Run(write);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_EQ(image.bytes, before.bytes);
    // The radio now holds the header and the records as sent.
    EXPECT_TRUE(std::equal(image.bytes.begin(), image.bytes.begin() + 41, h.peer.memory().begin()));
    EXPECT_EQ(h.peer.memory()[kFirstRecordOffset], 1);
    EXPECT_TRUE(std::equal(image.bytes.begin() + 68, image.bytes.begin() + 607,
                           h.peer.memory().begin() + 68));
    EXPECT_EQ(write.readBack()[kFirstRecordOffset], 1);
}

TEST_F(RadioWrite, FramesGoOutInOrderWithATwoSecondPauseBeforeTheReadBack) {
    ExchangeHarness h(PatternMemory(200));
    RadioWriteExchange write(h.link, image, h.observer);
    EXPECT_EQ(h.Run(write), 200);
    std::vector<Bytes> expected = {Expected(2, 2, 1, image.bytes.data(), 41)};
    for (std::uint16_t n = 2; n <= 21; ++n) {
        const auto payload = RecordPayload(image, n);
        expected.push_back(Expected(2, 3, n, payload.data(), payload.size()));
    }
    expected.push_back(kRequestSettingsBytes);
    expected.insert(expected.end(), 20, kAckBytes);
    EXPECT_EQ(h.Frames(), expected);
    EXPECT_EQ(h.FrameTicks()[20], 0);    // last record
    EXPECT_EQ(h.FrameTicks()[21], 200);  // read-back request after the pause
    std::vector<int> progress;
    for (int n = 2; n <= 21; ++n) {
        progress.push_back(n);
    }
    EXPECT_EQ(h.observer.progress, progress);
    EXPECT_EQ(h.observer.phases,
              (std::vector<ExchangePhase>{ExchangePhase::ReadingBack, ExchangePhase::Writing}));
    EXPECT_EQ(h.observer.timers, (std::vector<int>{kReadTimer, kVerifyTimer, kNoTimer}));
}

TEST_F(RadioWrite, BlockRefusedThreeTimesIsSentThreeTimesThenFails) {
    RadioPeerFaults faults;
    faults.nakBlock = {3, 3};
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer, kNoPause);
    EXPECT_EQ(h.Run(write), 0);
    const auto frames = h.Frames();
    ASSERT_EQ(frames.size(), 5u);  // settings, record 2, record 3 three times
    EXPECT_EQ(frames[2], frames[3]);
    EXPECT_EQ(frames[3], frames[4]);
    EXPECT_EQ(frames[4][3], 3);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(h.observer.progress.back(), 0);
    EXPECT_EQ(h.observer.phases, std::vector<ExchangePhase>{ExchangePhase::Writing});
}

TEST_F(RadioWrite, BlockRefusedTwiceGoesThrough) {
    RadioPeerFaults faults;
    faults.nakBlock = {1, 2};
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer, kNoPause);
    h.Run(write);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_EQ(h.Frames().size(), 3u + 20u + 1u + 20u);
}

TEST_F(RadioWrite, SilentRadioGetsTheSettingsThreeTimesASecondApart) {
    RadioPeerFaults faults;
    faults.silent = true;
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer);
    EXPECT_EQ(h.Run(write), 300);
    const auto frames = h.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], frames[2]);
    EXPECT_EQ(h.FrameTicks(), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
}

TEST_F(RadioWrite, RadioSilentAfterTheWriteGetsRequestAndTwoNaks) {
    RadioPeerFaults faults;
    faults.silentAfterWrite = true;
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer, kNoPause);
    EXPECT_EQ(h.Run(write), 300);
    const auto frames = h.Frames();
    ASSERT_EQ(frames.size(), 21u + 3u);
    EXPECT_EQ(frames[21], kRequestSettingsBytes);
    EXPECT_EQ(frames[22], kNakBytes);
    EXPECT_EQ(frames[23], kNakBytes);
    EXPECT_EQ(h.FrameTicks()[22], 100);
    EXPECT_EQ(h.FrameTicks()[23], 200);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    EXPECT_EQ(h.observer.phases,
              (std::vector<ExchangePhase>{ExchangePhase::ReadingBack, ExchangePhase::Writing}));
}

TEST_F(RadioWrite, DifferentReadBackIsReportedAsDiffering) {
    RadioPeerFaults faults;
    faults.readBackDiffers = true;
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer, kNoPause);
    h.Run(write);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::ReadBackDiffers});
}

TEST_F(RadioWrite, ReadBackSettingsWithBadChecksumsFailAfterThreeNaks) {
    RadioPeerFaults faults;
    faults.badChecksum = {1, 3};
    ExchangeHarness h(PatternMemory(200), faults);
    RadioWriteExchange write(h.link, image, h.observer, kNoPause);
    EXPECT_EQ(h.Run(write), 0);
    const auto frames = h.Frames();
    ASSERT_EQ(frames.size(), 21u + 1u + 3u);
    EXPECT_EQ(frames.back(), kNakBytes);
    EXPECT_EQ(h.observer.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
}

TEST_F(RadioWrite, AnswersDuringThePauseAreNotActedOn) {
    ExchangeHarness h(PatternMemory(200));
    RadioWriteExchange write(h.link, image, h.observer, 5);
    write.Start();
    while (h.sink.HasPendingAnswer()) {
        h.sink.Deliver(h.link, &write);
    }
    const std::size_t sent = h.Frames().size();
    ASSERT_EQ(sent, 21u);
    // A stray ACK in the pause is gathered but nothing answers it.
    for (std::uint8_t b : kAckBytes) {
        h.link.OnByteReceived(b);
        write.Poll();
    }
    for (int i = 0; i < 4; ++i) {
        write.Tick();
    }
    EXPECT_EQ(h.Frames().size(), sent);
    write.Tick();
    EXPECT_EQ(h.Frames().back(), kRequestSettingsBytes);
    EXPECT_EQ(write.ArmedTimer(), kVerifyTimer);
}

}  // namespace
}  // namespace halyx::test
