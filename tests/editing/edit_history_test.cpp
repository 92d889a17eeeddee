// The undo history: byte-exact images back and forth, the step limit and its cost.
#include <gtest/gtest.h>

#include "editing/edit_history.h"
#include "editing_fixture.h"

namespace halyx::test {
namespace {

TEST(EditHistory, UndoAndRedoWalkThroughEveryStateByteForByte) {
    EditHistory history;
    std::vector<RadioImage> states{PatternedImage({1, 3, 5})};
    RadioImage image = states.back();
    const auto step = [&](auto change) {
        const RadioImage before = image;
        change(image);
        ASSERT_TRUE(history.Record(before, image));
        states.push_back(image);
    };
    step([](RadioImage& im) { im.bytes[RecordOffset(3) + record::kRxTone] = 9; });
    step([](RadioImage& im) { MoveChannelsDown(im, {1, 3}); });
    step([](RadioImage& im) { im.bytes[header::kSquelchLevel] = 7; });
    step([](RadioImage& im) { DeleteChannels(im, {2, 2}); });
    step([](RadioImage& im) { im.length = 1000; });  // a length-only change counts as well

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.Undo(image));
        EXPECT_EQ(image.bytes, states[i - 1].bytes) << "after undoing step " << i;
        EXPECT_EQ(image.length, states[i - 1].length);
    }
    EXPECT_FALSE(history.Undo(image));
    EXPECT_EQ(image.bytes, states.front().bytes);
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.Redo(image));
        EXPECT_EQ(image.bytes, states[i].bytes) << "after redoing step " << i;
        EXPECT_EQ(image.length, states[i].length);
    }
    EXPECT_FALSE(history.Redo(image));
}

TEST(EditHistory, NewStepAfterUndoDropsTheRedoBranchAndNoChangeIsNoStep) {
    EditHistory history;
    RadioImage image = PatternedImage({1});
    const RadioImage start = image;
    image.bytes[100] ^= 1;
    history.Record(start, image);
    const RadioImage first = image;
    image.bytes[200] ^= 1;
    history.Record(first, image);
    history.Undo(image);
    EXPECT_TRUE(history.CanRedo());

    EXPECT_FALSE(history.Record(image, image));  // nothing changed: nothing recorded
    EXPECT_TRUE(history.CanRedo());
    const RadioImage before = image;
    image.bytes[300] ^= 1;
    ASSERT_TRUE(history.Record(before, image));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoCount(), 2u);
    history.Undo(image);
    history.Undo(image);
    EXPECT_EQ(image.bytes, start.bytes);

    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, KeepsTheNewestStepsUpToItsLimitAtACostInProportion) {
    EditHistory history;
    RadioImage image = PatternedImage({});
    std::vector<RadioImage> states{image};
    const int steps = static_cast<int>(EditHistory::kDefaultStepLimit) + 50;
    for (int i = 0; i < steps; ++i) {
        const RadioImage before = image;
        // One whole record rewritten per step, as a cell edit does.
        RecordBytes record = ReadRecord(image, i % kChannelCount + 1);
        record[record::kRxTone] = static_cast<std::uint8_t>(i);
        record[record::kTxTone] = static_cast<std::uint8_t>(i + 1);
        WriteRecord(image, i % kChannelCount + 1, record);
        history.Record(before, image);
        states.push_back(image);
    }
    EXPECT_EQ(history.UndoCount(), EditHistory::kDefaultStepLimit);
    // A few bytes per step, not a 2 KB image each.
    EXPECT_LT(history.StoredBytes(), EditHistory::kDefaultStepLimit * 256);
    while (history.Undo(image)) {
    }
    EXPECT_EQ(image.bytes, states[states.size() - 1 - EditHistory::kDefaultStepLimit].bytes);
}

}  // namespace
}  // namespace halyx::test
