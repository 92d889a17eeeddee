#include "radiosim/radio_peer.h"

#include <algorithm>

#include "link/block_map.h"
#include "link/frame_format.h"

namespace halyx {

namespace {
// Noise sent before frames when asked: no start bytes, but an end byte among them, which a
// gatherer waiting for a start byte must ignore.
constexpr std::array<std::uint8_t, 4> kGarbage = {0x00, 0xFF, 0xA5, frame::kEnd};
// Where a "different" read-back shows its difference: a middle channel's last byte.
constexpr std::uint16_t kDifferingBlock = 11;
constexpr std::size_t kDifferingByte = kRecordPayloadSize - 1;

std::uint16_t BlockOf(const RadioPeer::Bytes& f) {
    return static_cast<std::uint16_t>(f[frame::kBlockLowAt] | (f[frame::kBlockHighAt] << 8));
}

bool ChecksumIsGood(const RadioPeer::Bytes& f) {
    RadioPeer::Bytes copy = f;
    copy[frame::kChecksumAt] = 0;
    return FrameChecksum(copy.data(), static_cast<std::uint16_t>(copy.size())) ==
               f[frame::kChecksumAt] &&
           f.back() == frame::kEnd;
}

RadioPeer::Bytes ToBytes(const LinkFrame& f) {
    return RadioPeer::Bytes(f.bytes.begin(), f.bytes.begin() + f.size);
}

RadioPeer::Bytes ToBytes(const AckFrame& f) {
    return RadioPeer::Bytes(f.bytes.begin(), f.bytes.end());
}

TestValues DefaultTestValues(bool upperBand) {
    std::array<std::uint8_t, kTestPointRows> mid{};
    mid.fill(0x80);
    return BuildTestValues(mid, upperBand);
}
}  // namespace

RadioPeer::RadioPeer(const Memory& memory, RadioPeerFaults faults)
    : memory_(memory),
      faults_(faults),
      testValues_(DefaultTestValues(memory[header::kBand] != kLowBand)) {}

RadioPeer::Bytes RadioPeer::Receive(const std::uint8_t* bytes, std::size_t count) {
    std::vector<Bytes> complete;
    for (std::size_t i = 0; i < count; ++i) {
        Gather(bytes[i], complete);
    }
    Bytes out;
    for (const Bytes& f : complete) {
        const Bytes answer = HandleFrame(f);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

void RadioPeer::Gather(std::uint8_t byte, std::vector<Bytes>& complete) {
    if (pending_.empty() && byte != frame::kLongStart && byte != frame::kShortStart) {
        return;
    }
    pending_.push_back(byte);
    std::size_t expected = frame::kShortSize;
    if (pending_[0] == frame::kLongStart) {
        expected = pending_.size() > frame::kLengthAt
                       ? pending_[frame::kLengthAt] + frame::kOverhead
                       : frame::kMaxLongSize;
    }
    if (pending_.size() >= expected) {
        complete.push_back(std::move(pending_));
        pending_.clear();
    }
}

RadioPeer::Bytes RadioPeer::HandleFrame(const Bytes& f) {
    ++framesReceived_;
    if (gone_ || faults_.silent || (faults_.silentAfterWrite && writePhaseDone_)) {
        return {};
    }
    Bytes answer =
        f[0] == frame::kShortStart ? HandleShortFrame(f[frame::kCodeAt]) : HandleLongFrame(f);
    if (faults_.disappearAfterFrames > 0 && framesReceived_ >= faults_.disappearAfterFrames) {
        gone_ = true;
    }
    return answer;
}

RadioPeer::Bytes RadioPeer::HandleLongFrame(const Bytes& f) {
    const std::uint16_t block = BlockOf(f);
    if (!ChecksumIsGood(f)) {
        return Answer(block, ToBytes(AckFrame::Build(kNak)));
    }
    const std::uint8_t op = f[frame::kOperationAt];
    const std::uint8_t kind = f[frame::kKindAt];
    const std::uint8_t* payload = f.data() + frame::kPayloadAt;
    const std::size_t length = f[frame::kLengthAt];
    if (op == kOpRead && kind == kKindSettings) {
        return ServeBlock(kSettingsBlock);
    }
    if (op == kOpRead && kind == kKindTest) {
        return ServeBlock(kTestBlock);
    }
    if (op == kOpWrite) {
        lastServed_.reset();
        return HandleWrite(kind, block, payload, length);
    }
    if (op == kOpTestPoint && kind == kKindTest && length == TestPoint::kSize) {
        TestPoint point;
        std::copy_n(payload, TestPoint::kSize, point.bytes.begin());
        testPoints_.push_back(point);
        return {};
    }
    return Answer(block, ToBytes(AckFrame::Build(kNak)));
}

RadioPeer::Bytes RadioPeer::HandleShortFrame(std::uint8_t code) {
    if (!lastServed_.has_value()) {
        return {};
    }
    const std::uint16_t last = *lastServed_;
    if (code == kNak) {
        return ServeBlock(last);
    }
    if (code != kAck || last == kTestBlock || last >= kLastRecordBlock) {
        return {};
    }
    return ServeBlock(static_cast<std::uint16_t>(last + 1));
}

RadioPeer::Bytes RadioPeer::HandleWrite(std::uint8_t kind, std::uint16_t block,
                                        const std::uint8_t* payload, std::size_t length) {
    std::uint8_t* to = nullptr;
    std::size_t size = 0;
    if (kind == kKindTest && length == TestValues::kSize) {
        to = testValues_.bytes.data();
        size = TestValues::kSize;
    } else if (kind == kKindSettings && block == kSettingsBlock && length == kHeaderSize) {
        to = memory_.data() + kHeaderOffset;
        size = kHeaderSize;
    } else if (kind == kKindRecord && IsRecordBlock(block) && length == kRecordPayloadSize) {
        to = memory_.data() + RecordBlockOffset(block);
        size = kRecordPayloadSize;
    }
    if (to == nullptr || Take(faults_.nakBlock, block)) {
        return Answer(block, ToBytes(AckFrame::Build(kNak)));
    }
    std::copy_n(payload, size, to);
    if (kind == kKindRecord) {
        written_ = true;
        writePhaseDone_ = writePhaseDone_ || block == kLastRecordBlock;
    }
    return Answer(block, ToBytes(AckFrame::Build(kAck)));
}

RadioPeer::Bytes RadioPeer::ServeBlock(std::uint16_t block) {
    lastServed_ = block;
    std::uint8_t kind = kKindRecord;
    Bytes payload;
    if (block == kTestBlock) {
        kind = kKindTest;
        payload.assign(testValues_.bytes.begin(), testValues_.bytes.end());
    } else if (block == kSettingsBlock) {
        kind = kKindSettings;
        payload.assign(memory_.begin(), memory_.begin() + kHeaderSize);
    } else {
        const auto from = memory_.begin() + static_cast<std::ptrdiff_t>(RecordBlockOffset(block));
        payload.assign(from, from + kRecordPayloadSize);
        if (faults_.readBackDiffers && written_ && block == kDifferingBlock) {
            payload[kDifferingByte] ^= 0xFF;
        }
    }
    return Answer(block, ToBytes(LinkFrame::Build(kOpRead, kind, block, payload.data(),
                                                  static_cast<std::uint8_t>(payload.size()))));
}

RadioPeer::Bytes RadioPeer::Answer(std::uint16_t block, Bytes f) {
    if (Take(faults_.dropFrame, block)) {
        return {};
    }
    if (f[0] == frame::kLongStart) {
        if (Take(faults_.badChecksum, block)) {
            f[frame::kChecksumAt] = static_cast<std::uint8_t>(f[frame::kChecksumAt] + 1);
        }
        if (Take(faults_.corruptLength, block)) {
            f[frame::kLengthAt] = static_cast<std::uint8_t>(f[frame::kLengthAt] + 1);
        }
    }
    Bytes out;
    for (int i = 0; i < faults_.garbageBytes; ++i) {
        out.push_back(kGarbage[static_cast<std::size_t>(i) % kGarbage.size()]);
    }
    out.insert(out.end(), f.begin(), f.end());
    return out;
}

bool RadioPeer::Take(RadioPeerFaults::Target& fault, std::uint16_t block) {
    if (fault.block != static_cast<int>(block) || fault.count <= 0) {
        return false;
    }
    --fault.count;
    return true;
}

}  // namespace halyx
