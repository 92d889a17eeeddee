#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "test_dialog_fixture.h"

namespace halyx::test {
namespace {

using Point = std::array<std::uint8_t, TestPoint::kSize>;

// Presses and lets go of the slider's handle where it stands: a release with no movement.
void ClickHandle(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_All;
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, slider);
    QTest::mouseClick(slider, Qt::LeftButton, {}, handle.center());
}

std::vector<Point> PointsSent(const RadioPeer& peer) {
    std::vector<Point> points;
    for (const TestPoint& point : peer.testPoints()) {
        points.push_back(point.bytes);
    }
    return points;
}

TEST_F(TestDialogTest, ReleasingASliderSendsItsPointWithTheOtherLevelsFromEarlierChanges) {
    Open();
    dialog->slider(1)->setValue(11);  // 409 MHz low
    ClickHandle(dialog->slider(1));
    dialog->slider(8)->setValue(22);  // 469 MHz middle
    ClickHandle(dialog->slider(8));
    dialog->slider(6)->setValue(200);  // 435 MHz high
    ClickHandle(dialog->slider(6));
    EXPECT_EQ(PointsSent(peer),
              (std::vector<Point>{{1, 1, 11, 0, 0}, {8, 1, 11, 22, 0}, {6, 1, 11, 22, 200}}));
    EXPECT_EQ(dialog->valueLabel(6)->text(), "200");
    EXPECT_EQ(dialog->valueLabel(1)->text(), "11");

    // The lower band numbers its points from 10, and the test point stays as the last change
    // left it from one dialog to the next.
    dialog.reset();
    SetBand(false);
    OpenWithPort();
    dialog->slider(2)->setValue(33);
    ClickHandle(dialog->slider(2));
    EXPECT_EQ(PointsSent(peer).back(), (Point{11, 1, 11, 33, 200}));
}

TEST_F(TestDialogTest, AnArrowKeySendsThePositionBeforeItsStepOtherKeysSendNothing) {
    Open();
    dialog->show();
    TuningSlider* slider = dialog->slider(3);
    slider->setValue(10);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 11);
    EXPECT_EQ(dialog->valueLabel(3)->text(), "10");
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(PointsSent(peer),
              (std::vector<Point>{{3, 1, 0, 0, 10}, {3, 1, 0, 0, 11}, {3, 1, 0, 0, 12}}));

    for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End}) {
        QTest::keyClick(slider, key);
    }
    EXPECT_EQ(slider->value(), 255);
    EXPECT_EQ(peer.testPoints().size(), 3u);
}

TEST_F(TestDialogTest, ReadingTheValuesMovesSlidersAndLabelsAndKeepsThePortOpen) {
    peer.testValues().bytes = {1, 10, 20, 30, 2, 40, 50, 60, 3, 70, 80, 90};
    OpenWithPort();
    dialog->OnReadValues();
    EXPECT_EQ(dialog->armedTimerId(), kReadTimer);
    EXPECT_FALSE(Button(1001)->isEnabled());
    EXPECT_FALSE(Button(1012)->isEnabled());
    Run();
    for (int row = 1; row <= kTestPointRows; ++row) {
        EXPECT_EQ(dialog->slider(row)->value(), row * 10);
        EXPECT_EQ(dialog->valueLabel(row)->text(), QString::number(row * 10));
    }
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0009")});
    EXPECT_EQ(prompts.messages[0].caption, "CPS");
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(dialog->holdsPort());
}

TEST_F(TestDialogTest, AReadThatTimesOutThreeTimesLeavesThePortOpen) {
    peer.faults().silent = true;
    OpenWithPort();
    dialog->slider(2)->setValue(77);
    dialog->OnReadValues();
    EXPECT_EQ(Run(), 300);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0006")});
    EXPECT_TRUE(dialog->holdsPort());
    EXPECT_EQ(port.closes, 0);
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_EQ(dialog->slider(2)->value(), 77);
    EXPECT_EQ(TrafficLogText().find(kTimeOutMarker), std::string::npos);
}

TEST_F(TestDialogTest, WritingGoesThroughTheRecordsPausesAndChecksTheReadBack) {
    OpenWithPort();
    for (int row = 1; row <= kTestPointRows; ++row) {
        dialog->slider(row)->setValue(100 + row);
    }
    dialog->OnWriteValues();
    EXPECT_EQ(dialog->armedTimerId(), kTuningWriteTimer);
    EXPECT_FALSE(Button(1012)->isEnabled());

    std::vector<int> progress;
    int fullAt = -1;
    int checkTimerAt = -1;
    Run(10000, [&](int tick) {
        const int value = dialog->progressBar()->value();
        if (progress.empty() || progress.back() != value) {
            progress.push_back(value);
        }
        if (value == 20 && fullAt < 0) {
            fullAt = tick;
        }
        if (dialog->armedTimerId() == kVerifyTimer && checkTimerAt < 0) {
            checkTimerAt = tick;
            EXPECT_EQ(dialog->windowTitle(), English("S0201"));
        }
    });
    std::vector<int> expected{0};
    for (int block = 1; block <= 20; ++block) {
        expected.push_back(block);
    }
    EXPECT_EQ(progress, expected);
    // Two seconds of 10 ms ticks between the last record and the check.
    EXPECT_GE(checkTimerAt - fullAt, 199);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0008")});
    EXPECT_EQ(dialog->windowTitle(), English("S0201"));
    EXPECT_EQ(peer.testValues().bytes,
              (std::array<std::uint8_t, 12>{1, 101, 102, 103, 2, 104, 105, 106, 3, 107, 108, 109}));
    EXPECT_EQ(parts->testValues.bytes, peer.testValues().bytes);
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(dialog->holdsPort());
}

TEST_F(TestDialogTest, ALowerBandWriteTagsTheRecordsTenToTwelve) {
    SetBand(false);
    OpenWithPort();
    dialog->OnWriteValues();
    Run();
    EXPECT_EQ(peer.testValues().bytes[0], 10);
    EXPECT_EQ(peer.testValues().bytes[4], 11);
    EXPECT_EQ(peer.testValues().bytes[8], 12);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0008")});
}

TEST_F(TestDialogTest, RecordsReadBackDifferentlyAreReportedAndTheTitleStays) {
    peer.faults().readBackDiffers = true;
    OpenWithPort();
    dialog->OnWriteValues();
    Run();
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0200")});
    EXPECT_EQ(dialog->windowTitle(), English("S0201"));
    EXPECT_TRUE(Button(1012)->isEnabled());
}

TEST_F(TestDialogTest, AWriteThatTimesOutThreeTimesClosesThePortAndLogsTheTimeOut) {
    peer.faults().silent = true;
    OpenWithPort();
    dialog->OnWriteValues();
    EXPECT_EQ(Run(), 300);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0006")});
    EXPECT_EQ(port.closes, 1);
    EXPECT_FALSE(dialog->holdsPort());
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(dialog->progressBar()->value(), 0);
    EXPECT_NE(TrafficLogText().find("\xCD\xA8\xD0\xC5\xB3\xAC\xCA\xB1!\r\n"), std::string::npos);
    // The button and lists are left as they were, but the port is closed: 1028 opens it again.
    EXPECT_EQ(Text(1028), English("S0091"));
    EXPECT_FALSE(dialog->portList()->isEnabled());
    EXPECT_TRUE(Button(1001)->isEnabled());
    dialog->OnOpenClosePort();
    EXPECT_EQ(port.opened.size(), 2u);
    EXPECT_TRUE(dialog->holdsPort());
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_EQ(Text(1028), English("S0091"));
}

TEST_F(TestDialogTest, AFailedWriteIsShownBeforeTheBarIsEmptiedAndTheTimeOutLogged) {
    peer.faults().nakBlock = {6, 3};  // records 2 to 5 go through
    OpenWithPort();
    int progressBehind = -1;
    bool loggedBehind = true;
    int closesBehind = -1;
    prompts.whileShown = [&](const RecordingPrompts::Message&) {
        progressBehind = dialog->progressBar()->value();
        loggedBehind = TrafficLogText().find(kTimeOutMarker) != std::string::npos;
        closesBehind = port.closes;
    };
    dialog->OnWriteValues();
    Run();
    EXPECT_EQ(MessageTexts(), std::vector<QString>{English("S0006")});
    EXPECT_EQ(progressBehind, 4);
    EXPECT_FALSE(loggedBehind);
    EXPECT_EQ(closesBehind, 0);
    EXPECT_EQ(dialog->progressBar()->value(), 0);
    EXPECT_NE(TrafficLogText().find(kTimeOutMarker), std::string::npos);
    EXPECT_EQ(port.closes, 1);
}

TEST_F(TestDialogTest, ClosingDuringAWriteStopsItSilently) {
    OpenWithPort();
    dialog->OnWriteValues();
    Run(50);
    dialog->reject();
    EXPECT_EQ(dialog->armedTimerId(), kNoTimer);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(parts->line.IsOpen());
}

}  // namespace
}  // namespace halyx::test
