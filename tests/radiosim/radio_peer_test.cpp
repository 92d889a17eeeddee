// What the in-process radio answers: the exchange tests rely on it behaving like a radio.
#include <gtest/gtest.h>

#include "link/frame_format.h"
#include "radiosim/radio_peer.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Long(std::uint8_t op, std::uint8_t kind, std::uint16_t block, const Bytes& payload) {
    const LinkFrame f = LinkFrame::Build(op, kind, block, payload.data(),
                                         static_cast<std::uint8_t>(payload.size()));
    return Bytes(f.bytes.begin(), f.bytes.begin() + f.size);
}

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

TEST(RadioPeer, StreamsSettingsThenRecordsOnAckAndResendsOnNak) {
    RadioPeer peer(Counting());
    const Bytes settings = Send(peer, Long(1, 2, 1, {}));
    ASSERT_EQ(settings.size(), 49u);
    EXPECT_EQ(settings[7 + 40], 40);
    const Bytes record2 = Send(peer, kAck);
    ASSERT_EQ(record2.size(), 35u);
    EXPECT_EQ(record2[3], 2);
    EXPECT_EQ(record2[7], 67);
    EXPECT_EQ(Send(peer, kNak), record2);
    for (int n = 3; n <= 21; ++n) {
        EXPECT_EQ(Send(peer, kAck)[3], n);
    }
    EXPECT_TRUE(Send(peer, kAck).empty());  // nothing after record block 21
}

TEST(RadioPeer, StoresWrittenBlocksAndRefusesMalformedOnes) {
    RadioPeer peer;
    EXPECT_EQ(Send(peer, Long(2, 2, 1, Bytes(41, 0xAB))), kAck);
    EXPECT_EQ(peer.memory()[40], 0xAB);
    EXPECT_EQ(Send(peer, Long(2, 3, 21, Bytes(27, 0xCD))), kAck);
    EXPECT_EQ(peer.memory()[580], 0xCD);
    EXPECT_EQ(peer.memory()[606], 0xCD);
    EXPECT_EQ(Send(peer, Long(2, 3, 22, Bytes(27, 0))), kNak);
    EXPECT_EQ(Send(peer, Long(2, 3, 5, Bytes(26, 0))), kNak);
    Bytes bad = Long(2, 2, 1, Bytes(41, 0x11));
    bad[5] ^= 0x01;
    EXPECT_EQ(Send(peer, bad), kNak);
    EXPECT_EQ(peer.memory()[0], 0xAB);
}

TEST(RadioPeer, AnswersFramesSplitAcrossCallsAndIgnoresNoise) {
    RadioPeer peer(Counting());
    const Bytes request = Long(1, 2, 1, {});
    EXPECT_TRUE(Send(peer, {0x00, 0x10, 0x99}).empty());
    EXPECT_TRUE(Send(peer, Bytes(request.begin(), request.begin() + 4)).empty());
    EXPECT_EQ(Send(peer, Bytes(request.begin() + 4, request.end())).size(), 49u);
}

TEST(RadioPeer, FaultsHappenOnTheChosenBlockTheChosenNumberOfTimes) {
    RadioPeerFaults faults;
    faults.badChecksum = {2, 2};
    faults.garbageBytes = 3;
    RadioPeer peer(Counting(), faults);
    Send(peer, Long(1, 2, 1, {}));
    const Bytes first = Send(peer, kAck);
    const Bytes second = Send(peer, kNak);
    const Bytes third = Send(peer, kNak);
    ASSERT_EQ(third.size(), 3u + 35u);
    EXPECT_NE(first[3 + 5], third[3 + 5]);
    EXPECT_EQ(first, second);
    EXPECT_EQ(third[3], 0x35);
}

TEST(RadioPeer, DiffersOnReadBackOnlyAfterAWrite) {
    RadioPeerFaults faults;
    faults.readBackDiffers = true;
    RadioPeer peer(Counting(), faults);
    auto readAll = [&peer] {
        Bytes all = Send(peer, Long(1, 2, 1, {}));
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
    Send(peer, Long(2, 3, 2, Bytes(peer.memory().begin() + 67, peer.memory().begin() + 94)));
    const Bytes after = readAll();
    EXPECT_NE(after, before);
}

TEST(RadioPeer, TestValuesAndPointsFollowTheBand) {
    RadioPeer::Memory memory{};
    memory[22] = 0;
    RadioPeer peer(memory);
    const Bytes values = Send(peer, Long(1, 4, 0, Bytes(12, 0)));
    ASSERT_EQ(values.size(), 20u);
    EXPECT_EQ(values[7], 10);
    EXPECT_EQ(Send(peer, Long(2, 4, 0, Bytes(12, 7))), kAck);
    EXPECT_EQ(peer.testValues().bytes[11], 7);
    EXPECT_TRUE(Send(peer, Long(3, 4, 0, {4, 1, 9, 8, 7})).empty());
    ASSERT_EQ(peer.testPoints().size(), 1u);
    EXPECT_EQ(peer.testPoints()[0].bytes[4], 7);
}

TEST(RadioPeer, DisappearsAfterTheChosenNumberOfFrames) {
    RadioPeerFaults faults;
    faults.disappearAfterFrames = 2;
    RadioPeer peer(Counting(), faults);
    EXPECT_FALSE(Send(peer, Long(1, 2, 1, {})).empty());
    EXPECT_FALSE(Send(peer, kAck).empty());  // the second frame is still answered
    EXPECT_TRUE(peer.hasDisappeared());
    EXPECT_TRUE(Send(peer, kNak).empty());
}

}  // namespace
}  // namespace halyx
