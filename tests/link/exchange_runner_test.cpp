#include <gtest/gtest.h>

#include <vector>

#include "exchange_harness.h"
#include "link/block_map.h"
#include "link/exchange_runner.h"
#include "link/peer_link_port.h"
#include "link/radio_read_exchange.h"
#include "link/radio_write_exchange.h"

namespace halyx::test {
namespace {

// What a face hears from the runner.
struct RunnerWatch {
    RunnerWatch() = default;
    explicit RunnerWatch(ExchangeRunner& runner) {
        QObject::connect(&runner, &ExchangeRunner::progressChanged, &runner,
                         [this](int position) { progress.push_back(position); });
        QObject::connect(&runner, &ExchangeRunner::phaseChanged, &runner,
                         [this](ExchangePhase phase) { phases.push_back(phase); });
        QObject::connect(&runner, &ExchangeRunner::timerChanged, &runner,
                         [this](int timerId) { timers.push_back(timerId); });
        QObject::connect(&runner, &ExchangeRunner::finished, &runner,
                         [this](ExchangeResult result) { results.push_back(result); });
        QObject::connect(&runner, &ExchangeRunner::portLost, &runner, [this] { ++lost; });
    }
    void Clear() { *this = RunnerWatch(); }
    std::vector<int> progress;
    std::vector<ExchangePhase> phases;
    std::vector<int> timers;
    std::vector<ExchangeResult> results;
    int lost = 0;
};

class Runner : public ::testing::Test {
protected:
    // Delivers what the radio has to say and ticks, as the event loop would, until the exchange
    // ends; the runner's own timer is never started (no sleeping).
    int RunToEnd(int limit = 10000) {
        int ticks = 0;
        while (runner.IsRunning() && ticks < limit) {
            port.Deliver();
            if (!runner.IsRunning()) {
                break;
            }
            runner.Tick();
            ++ticks;
        }
        return ticks;
    }

    PeerLinkPort port{PatternMemory(40)};
    ExchangeRunner runner{&port};
    RunnerWatch watch{runner};
};

TEST_F(Runner, EachReceivedByteGoesToTheReplyBufferThenToTheRunningExchange) {
    // An exchange that only notes what the buffer held whenever it was polled.
    struct Watching : Exchange {
        Watching(ExchangeRunner& r) : Exchange(r), runner(r) {}
        void Start() override { ArmTimer(kReadTimer); }
        void Tick() override {}
        void Poll() override { gathered.push_back(runner.link().replyBuffer().GatheredCount()); }
        void Cancel() override { ArmTimer(kNoTimer); }
        ExchangeRunner& runner;
        std::vector<std::size_t> gathered;
    } watching(runner);
    ASSERT_TRUE(port.Open(PortText{1, {}}, SerialLineSettings::kLinkBaudRate));
    runner.SetSelfTicking(false);
    runner.Start(watching);

    emit port.byteReceived(0x35);
    emit port.byteReceived(0x02);

    EXPECT_EQ(watching.gathered, (std::vector<std::size_t>{1, 2}));
    EXPECT_TRUE(runner.link().replyBuffer().inFrame);
    EXPECT_TRUE(runner.Release());
    emit port.byteReceived(0x01);  // nobody holds the runner: gathered, polled by none
    EXPECT_EQ(watching.gathered.size(), 2u);
}

TEST_F(Runner, ReadAndWriteRunToTheirResultsWithProgressPhasesAndTimersAsSignals) {
    ASSERT_TRUE(port.Open(PortText{1, {}}, SerialLineSettings::kLinkBaudRate));
    runner.SetSelfTicking(false);
    RadioImage image;
    RadioReadExchange read(runner.link(), image, runner);
    runner.Start(read);
    RunToEnd();
    ASSERT_EQ(watch.results, std::vector<ExchangeResult>{ExchangeResult::Success});
    EXPECT_TRUE(std::equal(image.bytes.begin() + kFirstRecordOffset,
                           image.bytes.begin() + kRecordsEnd,
                           port.peer().memory().begin() + kFirstRecordOffset));
    EXPECT_EQ(watch.progress.back(), kLastRecordBlock);
    EXPECT_EQ(watch.timers, (std::vector<int>{kReadTimer, kNoTimer}));
    EXPECT_FALSE(runner.isTimerActive());

    // The same runner, the next exchange: the image goes back with a change, verified.
    image.bytes[kFirstRecordOffset + 5] ^= 0x5A;
    watch.Clear();
    RadioWriteExchange write(runner.link(), image, runner, 3);
    runner.Start(write);
    RunToEnd();
    EXPECT_EQ(watch.results.back(), ExchangeResult::Success);
    EXPECT_EQ(port.peer().memory()[kFirstRecordOffset + 5], image.bytes[kFirstRecordOffset + 5]);
    EXPECT_EQ(watch.phases,
              (std::vector<ExchangePhase>{ExchangePhase::ReadingBack, ExchangePhase::Writing}));
    EXPECT_TRUE(runner.IsBusy());
    runner.Release();
    EXPECT_FALSE(runner.IsBusy());
}

TEST_F(Runner, SelfTickingRunsTheTimerOnlyWhileTheExchangeHasOneArmed) {
    ASSERT_TRUE(port.Open(PortText{1, {}}, SerialLineSettings::kLinkBaudRate));
    RadioImage image;
    RadioReadExchange read(runner.link(), image, runner);
    runner.Start(read);
    EXPECT_TRUE(runner.isTimerActive());
    EXPECT_EQ(runner.armedTimer(), kReadTimer);

    // Closing the face cancels: no result, no more ticks, nothing more sent.
    port.sink().ClearSentFrames();
    EXPECT_TRUE(runner.Release());
    EXPECT_FALSE(runner.isTimerActive());
    for (int i = 0; i < 300; ++i) {
        runner.Tick();
        port.Deliver();
    }
    EXPECT_TRUE(watch.results.empty());
    EXPECT_TRUE(port.sink().sentFrames().empty());
}

TEST_F(Runner, APortThatGoesAwayIsToldAndTheExchangeTimesOutAgainstTheClosedPort) {
    ASSERT_TRUE(port.Open(PortText{1, {}}, SerialLineSettings::kLinkBaudRate));
    runner.SetSelfTicking(false);
    RadioImage image;
    RadioReadExchange read(runner.link(), image, runner);
    runner.Start(read);
    port.Vanish();
    EXPECT_EQ(watch.lost, 1);
    EXPECT_FALSE(port.IsOpen());
    RunToEnd();
    EXPECT_EQ(watch.results, std::vector<ExchangeResult>{ExchangeResult::LinkFailure});
    // The runner holds the exchange until it is let go; the exchange ends with this scope.
    runner.Release();
}

}  // namespace
}  // namespace halyx::test
