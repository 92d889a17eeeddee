#pragma once

#include <cstdint>
#include <string_view>

namespace halyx {

// How an exchange ended. A cancelled exchange reports nothing.
enum class ExchangeResult {
    Success,          // read done, or write verified equal (S0009 / S0008)
    LinkFailure,      // a step failed three times (S0006)
    ReadBackDiffers,  // the write went through but the records read back differ (S0200)
};

// How an exchange ended, in the words reports and the audit log use.
inline std::string_view ExchangeResultName(ExchangeResult result) {
    switch (result) {
        case ExchangeResult::Success:
            return "success";
        case ExchangeResult::ReadBackDiffers:
            return "read-back-differs";
        case ExchangeResult::LinkFailure:
            break;
    }
    return "link-failure";
}

// Audit results a write has beside its exchange's own: the radio refused before anything was
// sent (another band), and a failure after the radio had taken part of the write.
inline constexpr std::string_view kWrongBandResult = "wrong-band";
inline constexpr std::string_view kPartlyWrittenResult = "partly-written";

// The 10 ms timers a dialog runs an exchange on; ids as the dialogs arm them.
inline constexpr int kNoTimer = 0;
inline constexpr int kReadTimer = 1;  // radio read, radio write phase, tuning read
inline constexpr int kTuningWriteTimer = 3;
inline constexpr int kVerifyTimer = 100;  // read-back after a write
inline constexpr int kTickMilliseconds = 10;

// Marker lines of the traffic log, as GBK bytes with their line end.
inline constexpr std::string_view kReadStartMarker = "\xB6\xC1\xC6\xB5\xBF\xAA\xCA\xBC:\r\n";
inline constexpr std::string_view kReadEndMarker = "\xB6\xC1\xC6\xB5\xBD\xE1\xCA\xF8!\r\n";
inline constexpr std::string_view kTimeOutMarker = "\xCD\xA8\xD0\xC5\xB3\xAC\xCA\xB1!\r\n";

// The stage a write is in, for faces that name it (a dialog's title, a fleet radio's phase).
// A write begins Writing, turns ReadingBack after its pause and, when it ends, is told Writing
// again so a face that shows the stage shows the write's own name.
enum class ExchangePhase { Writing, ReadingBack };

// What a running exchange tells its face (dialog or command line). All calls come from inside
// Start / Tick / Poll, on the thread that drives the exchange.
class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    // Progress bar position (record block number, or 0 after a failure).
    virtual void OnProgress(int /*position*/) {}
    // The write has moved to another stage.
    virtual void OnPhaseChanged(ExchangePhase /*phase*/) {}
    // A marker line (GBK bytes with "\r\n"). It has already been appended to the link's traffic
    // log; this is for faces that also want to show it.
    virtual void OnLogMarker(std::string_view /*line*/) {}
    // The timer the exchange now needs ticks from (kNoTimer: none). Told on every change.
    virtual void OnTimerChanged(int /*timerId*/) {}
    // Exactly once per started exchange that is not cancelled. The result comes first: the
    // resets that end an exchange (progress 0, the phase back, the time-out marker line) are
    // told only after this returns, so a face that shows the result in a modal box keeps
    // looking busy until the box is acknowledged.
    virtual void OnFinished(ExchangeResult /*result*/) {}
};

// A tick-driven exchange with the radio. The owner:
//   - feeds every received byte to the shared FrameLink (OnByteReceived), then calls Poll() so an
//     answer is acted on at once;
//   - calls Tick() every 10 ms while ArmedTimer() is not kNoTimer; ticks alone count time-outs.
// Frames, counts and retry timing do not depend on how often Poll() is called.
class Exchange {
public:
    virtual ~Exchange() = default;
    // Begins the exchange (sends its first frame). Restarts from scratch if one is running.
    virtual void Start() = 0;
    // One 10 ms timer tick: counts towards the time-out, then looks at the reply buffer.
    virtual void Tick() = 0;
    // Looks at the reply buffer without counting a tick.
    virtual void Poll() = 0;
    // Stops without a result and without sending anything (the dialog was closed).
    virtual void Cancel() = 0;

    bool IsRunning() const { return timer_ != kNoTimer; }
    int ArmedTimer() const { return timer_; }

protected:
    explicit Exchange(ExchangeObserver& observer) : observer_(observer) {}
    void ArmTimer(int timerId) {
        if (timer_ != timerId) {
            timer_ = timerId;
            observer_.OnTimerChanged(timerId);
        }
    }
    void Finish(ExchangeResult result) {
        ArmTimer(kNoTimer);
        observer_.OnFinished(result);
    }
    // Finish, then the end's resets, unless the face has started the exchange again meanwhile.
    template <typename Resets>
    void Finish(ExchangeResult result, Resets&& resets) {
        Finish(result);
        if (!IsRunning()) {
            resets();
        }
    }
    ExchangeObserver& observer() { return observer_; }

private:
    ExchangeObserver& observer_;
    int timer_ = kNoTimer;
};

}  // namespace halyx
