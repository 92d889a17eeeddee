// What the in-process radio does beyond what the exchange tests already drive through it.
#include <gtest/gtest.h>

#include "link/frame_format.h"
#include "radiosim/radio_peer.h"
#include "support/frame_bytes.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::LongFrameBytes;

const Bytes kAck = {0x36, 0x06, 0x10};
const Bytes kNak = {0x36, 0x05, 0x10};

Bytes Send(RadioPeer& peer, const Bytes& bytes) {
    return peer.Receive(bytes.data(), bytes.size());
}

RadioPeer::Memory Counting() {
    RadioPeer::Memory m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>(i);
    }
    return m;
}

TEST(RadioPeer, StoresWrittenBlocksAndRefusesMalformedOnes) {
    RadioPeer peer;
    EXPECT_EQ(Send(peer, LongFrameBytes(2, 2, 1, Bytes(41, 0xAB))), kAck);
    EXPECT_EQ(peer.memory()[40], 0xAB);
    EXPECT_EQ(Send(peer, LongFrameBytes(2, 3, 21, Bytes(27, 0xCD))), kAck);
    EXPECT_EQ(peer.memory()[580], 0xCD);
    EXPECT_EQ(peer.memory()[606], 0xCD);
    EXPECT_EQ(Send(peer, LongFrameBytes(2, 3, 22, Bytes(27, 0))), kNak);
    EXPECT_EQ(Send(peer, LongFrameBytes(2, 3, 5, Bytes(26, 0))), kNak);
    Bytes bad = LongFrameBytes(2, 2, 1, Bytes(41, 0x11));
    bad[5] ^= 0x01;
    EXPECT_EQ(Send(peer, bad), kNak);
    EXPECT_EQ(peer.memory()[0], 0xAB);
}

TEST(RadioPeer, AnswersFramesSplitAcrossCallsAndIgnoresNoise) {
    RadioPeer peer(Counting());
    const Bytes request = LongFrameBytes(1, 2, 1, {});
    EXPECT_TRUE(Send(peer, {0x00, 0x10, 0x99}).empty());
    EXPECT_TRUE(Send(peer, Bytes(request.begin(), request.begin() + 4)).empty());
    EXPECT_EQ(Send(peer, Bytes(request.begin() + 4, request.end())).size(), 49u);
}

TEST(RadioPeer, DiffersOnReadBackOnlyAfterAWrite) {
    RadioPeerFaults faults;
    faults.readBackDiffers = true;
    RadioPeer peer(Counting(), faults);
    auto readAll = [&peer] {
        Bytes all = Send(peer, LongFrameBytes(1, 2, 1, {}));
        for (int n = 2; n <= 21; ++n) {
            const Bytes r = Send(peer, kAck);
            all.insert(all.end(), r.begin(), r.end());
        }
        return all;
    };
    const Bytes before = readAll();
    const Bytes again = readAll();
    EXPECT_EQ(before, again);
    // Writing a record with the bytes it already holds: only the fault can make a difference.
    Send(peer,
         LongFrameBytes(2, 3, 2, Bytes(peer.memory().begin() + 67, peer.memory().begin() + 94)));
    const Bytes after = readAll();
    EXPECT_NE(after, before);
}

}  // namespace
}  // namespace halyx
