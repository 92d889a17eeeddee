#pragma once

namespace halyx::cli {

// Ctrl-C, a terminal closing (SIGHUP) and a polite kill (SIGTERM) all ask a command talking to
// radios to stop: the radios end as cancelled, each still gets its audit line, and the report is
// written. A second such signal ends the program at once. While one of these lives, the signals
// are caught; its end puts back what was there before.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once, the first time it is asked after a signal came.
    bool requested();
    // The signal that asked, 0 while none has.
    int signal() const;

private:
    bool handled_ = false;
};

// The exit status of a command a signal stopped, as shells report a program the signal ended.
int StoppedStatus(int signal);

}  // namespace halyx::cli
