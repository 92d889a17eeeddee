// The document every face edits through: one undo step per edit, the saved point, and one
// announcement per change naming what changed.
#include <gtest/gtest.h>

#include "editing/radio_document.h"
#include "editing_fixture.h"

namespace halyx::test {
namespace {

RadioImage StartImage() {
    RadioImage image = PatternedImage({1, 2, 3});
    image.bytes[header::kBand] = kHighBand;
    return image;
}

struct Recorder {
    explicit Recorder(RadioDocument& document)
        : subscription(document.Subscribe([this](const DocumentChange& c) { seen.push_back(c); })) {
    }
    RadioDocument::Subscription subscription;
    std::vector<DocumentChange> seen;
};

TEST(RadioDocument, EditsUndoAndRedoAgainstTheSavedPoint) {
    const RadioImage start = StartImage();
    RadioDocument document(start);
    EXPECT_FALSE(document.IsChanged());
    EXPECT_FALSE(document.CanUndo());

    // A grid edit hands its correction back through the callback.
    FrequencyCorrection typed;
    ASSERT_TRUE(document.EditChannel(5, [&](Channel& c) { typed = c.SetRxFrequency("480"); }));
    EXPECT_EQ(typed.fix, FrequencyFix::ClampedAbove);
    EXPECT_EQ(document.channel(5).RxText(), "470.00000");
    EXPECT_EQ(document.channel(5).TxText(), "470.00000");
    const RadioImage afterFirst = document.image();
    EXPECT_TRUE(document.IsChanged());

    ASSERT_TRUE(document.EditSettings([](CommonSettings& s) { s.SetSquelchLevel(7); }));
    document.MarkSaved();
    const RadioImage saved = document.image();
    EXPECT_FALSE(document.IsChanged());

    // Undo past the saved point sets the flag, redo back to it clears it, undo to the start and
    // redo to the saved point give byte-exact images.
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.image().bytes, afterFirst.bytes);
    EXPECT_TRUE(document.IsChanged());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.image().bytes, start.bytes);
    EXPECT_FALSE(document.Undo());
    ASSERT_TRUE(document.Redo());
    ASSERT_TRUE(document.Redo());
    EXPECT_FALSE(document.Redo());
    EXPECT_EQ(document.image().bytes, saved.bytes);
    EXPECT_FALSE(document.IsChanged());

    // Edits that change nothing (a refused value, the same value again) make no step.
    EXPECT_FALSE(document.EditSettings([](CommonSettings& s) { s.SetSquelchLevel(0); }));
    EXPECT_FALSE(document.EditSettings([](CommonSettings& s) { s.SetSquelchLevel(7); }));
    EXPECT_FALSE(document.EditChannel(21, [](Channel& c) { c.SetRxFrequency("446"); }));
    EXPECT_EQ(document.history().UndoCount(), 2u);

    // An edit and its reverse come back to the saved image: nothing to save.
    ASSERT_TRUE(document.EditSettings([](CommonSettings& s) { s.SetSquelchLevel(3); }));
    EXPECT_TRUE(document.IsChanged());
    ASSERT_TRUE(document.EditSettings([](CommonSettings& s) { s.SetSquelchLevel(7); }));
    EXPECT_FALSE(document.IsChanged());

    // Replace: a file is the saved point; a radio read is not saved anywhere yet.
    document.Replace(start);
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.IsChanged());
    document.Replace(saved, ReplaceAs::Unsaved);
    EXPECT_TRUE(document.IsChanged());
    document.MarkSaved();
    EXPECT_FALSE(document.IsChanged());
}

TEST(RadioDocument, AHistoryThatDroppedItsOldestStepsStillKnowsItIsChanged) {
    RadioDocument document(StartImage(), 3);
    for (int level = 1; level <= 6; ++level) {
        document.EditSettings([level](CommonSettings& s) { s.SetVoxLevel(level); });
    }
    while (document.Undo()) {
    }
    EXPECT_EQ(document.settings().voxLevel(), 3);
    EXPECT_TRUE(document.IsChanged());
}

TEST(RadioDocument, EveryChangeIsAnnouncedOnceWithWhatItTouched) {
    RadioDocument document(StartImage());
    Recorder recorder(document);

    document.EditChannel(4, [](Channel& c) { c.SetRxFrequency("446.1"); });
    document.EditSettings([](CommonSettings& s) { s.SetCompand(true); });
    document.EditSettings([](CommonSettings& s) { s.SetCompand(true); });  // no change
    document.Edit([](RadioImage& image) { MoveChannelsDown(image, {2, 3}); });
    document.Undo();
    document.Redo();
    document.Replace(StartImage());
    ASSERT_EQ(recorder.seen.size(), 6u);

    EXPECT_EQ(recorder.seen[0].channels, std::vector<int>{4});
    EXPECT_FALSE(recorder.seen[0].settings);
    EXPECT_TRUE(recorder.seen[0].Touches(4));
    EXPECT_FALSE(recorder.seen[0].Touches(5));
    EXPECT_TRUE(recorder.seen[1].channels.empty());
    EXPECT_TRUE(recorder.seen[1].settings);
    EXPECT_EQ(recorder.seen[2].channels, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(recorder.seen[3].channels, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(recorder.seen[4].channels, (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(recorder.seen[5].wholeImage);
    EXPECT_TRUE(recorder.seen[5].settings);
    EXPECT_TRUE(recorder.seen[5].Touches(20));

    // A listener may unsubscribe itself, or one after it, while it is being called.
    int firstCalls = 0;
    int secondCalls = 0;
    RadioDocument::Subscription second = 0;
    RadioDocument::Subscription first = 0;
    first = document.Subscribe([&](const DocumentChange&) {
        ++firstCalls;
        document.Unsubscribe(first);
        document.Unsubscribe(second);
    });
    second = document.Subscribe([&](const DocumentChange&) { ++secondCalls; });
    document.EditSettings([](CommonSettings& s) { s.SetTxPower(0); });
    document.EditSettings([](CommonSettings& s) { s.SetTxPower(1); });
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 0);
    EXPECT_EQ(recorder.seen.size(), 8u);
    document.Unsubscribe(recorder.subscription);
    document.Undo();
    EXPECT_EQ(recorder.seen.size(), 8u);
}

}  // namespace
}  // namespace halyx::test
