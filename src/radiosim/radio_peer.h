#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/radio_image.h"
#include "link/tuning_data.h"

namespace halyx {

// Faults a simulated radio can be told to show. Frames the radio sends are named by block number:
// a long frame by its own block (0 test values, 1 settings, 2..21 records), an ACK or NAK by the
// block of the written frame it answers. Counts say how many times the fault happens.
struct RadioPeerFaults {
    struct Target {
        int block = -1;  // -1: no fault
        int count = 0;
    };

    bool silent = false;   // never answers
    Target badChecksum;    // long frame sent with a wrong checksum
    Target nakBlock;       // written block answered with NAK instead of ACK
    Target corruptLength;  // long frame sent with a wrong length byte
    Target dropFrame;      // answer not sent at all
    int garbageBytes = 0;  // noise bytes sent before every frame
    int disappearAfterFrames =
        0;  // after answering this many received frames, goes away (0: never)
    bool silentAfterWrite = false;  // stops answering once record block 21 has been written
    bool readBackDiffers = false;   // after a write, serves records with one byte changed
};

// A radio on the far side of the line, in process: fed the bytes the application sends, it
// returns the bytes it answers with. Its memory is laid out like the radio image.
class RadioPeer {
public:
    using Memory = std::array<std::uint8_t, kImageSize>;
    using Bytes = std::vector<std::uint8_t>;

    explicit RadioPeer(const Memory& memory = Memory{}, RadioPeerFaults faults = {});

    // Consumes application bytes; returns the answer to every frame completed by them.
    Bytes Receive(const std::uint8_t* bytes, std::size_t count);

    const Memory& memory() const { return memory_; }
    Memory& memory() { return memory_; }
    void SetBand(bool upper) { memory_[header::kBand] = upper ? 1 : 0; }
    TestValues& testValues() { return testValues_; }
    const std::vector<TestPoint>& testPoints() const { return testPoints_; }
    RadioPeerFaults& faults() { return faults_; }

    // Complete frames received so far (any shape, any checksum).
    int framesReceived() const { return framesReceived_; }
    // True once the radio has gone away (disappear fault); it answers nothing more.
    bool hasDisappeared() const { return gone_; }

private:
    Bytes HandleFrame(const Bytes& f);
    Bytes HandleLongFrame(const Bytes& f);
    Bytes HandleShortFrame(std::uint8_t code);
    Bytes HandleWrite(std::uint8_t kind, std::uint16_t block, const std::uint8_t* payload,
                      std::size_t length);
    Bytes ServeBlock(std::uint16_t block);
    Bytes Answer(std::uint16_t block, Bytes frame);
    static bool Take(RadioPeerFaults::Target& fault, std::uint16_t block);
    void Gather(std::uint8_t byte, std::vector<Bytes>& complete);

    Memory memory_;
    RadioPeerFaults faults_;
    TestValues testValues_;
    std::vector<TestPoint> testPoints_;
    Bytes pending_;
    std::optional<std::uint16_t> lastServed_;
    bool written_ = false;
    bool writePhaseDone_ = false;
    bool gone_ = false;
    int framesReceived_ = 0;
};

}  // namespace halyx
