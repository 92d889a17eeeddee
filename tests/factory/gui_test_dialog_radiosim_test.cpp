#include <QTest>

#include "support/radio_sim_process.h"
#include "test_dialog_fixture.h"

namespace halyx::test {
namespace {

using testing::RadioSimProcess;

// The dialog on the real serial port engine, against halyx-radiosim on a pseudo-terminal that
// the setting file maps to COM7. Ticks come from the dialog's own 10 ms timer.
class TestDialogOverPty : public ShellTest {
protected:
    static constexpr std::uint16_t kShortPause = 20;

    static bool WaitForExchange(const TestDialog& dialog) {
        return QTest::qWaitFor([&dialog] { return dialog.armedTimerId() == kNoTimer; }, 20000);
    }

    RecordingPrompts prompts;
};

TEST_F(TestDialogOverPty, ReadsTunesWritesAndReadsBackTheValues) {
    RadioSimProcess sim({"--band", "high", "--no-pacing"});
    ASSERT_FALSE(sim.devicePath().empty());
    WriteLanguageFiles();
    WriteSettings("[setup]\nlanguage=english\n[devices]\nCOM7=" + sim.devicePath() + "\n");
    AppParts parts;
    parts.settings.language.setFile(home() / "english.lang");
    parts.document.Edit([](RadioImage& image) { image.bytes[header::kBand] = 1; });

    auto dialog = std::make_unique<TestDialog>(parts.Bench(), prompts, nullptr,
                                               TestDialog::PortProbe{}, kShortPause);
    const int com7 = dialog->portList()->findText("COM7");
    ASSERT_GE(com7, 0);
    dialog->portList()->setCurrentIndex(com7);
    dialog->OnOpenClosePort();
    ASSERT_TRUE(dialog->holdsPort());
    ASSERT_TRUE(prompts.messages.empty());

    dialog->OnReadValues();
    ASSERT_TRUE(WaitForExchange(*dialog));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, English("S0009"));
    for (int row = 1; row <= kTestPointRows; ++row) {
        EXPECT_EQ(dialog->slider(row)->value(), 0x80) << row;
    }

    dialog->slider(6)->setValue(200);
    dialog->OnWriteValues();
    ASSERT_TRUE(WaitForExchange(*dialog));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, English("S0008"));

    dialog->slider(6)->setValue(0);
    dialog->OnReadValues();
    ASSERT_TRUE(WaitForExchange(*dialog));
    EXPECT_EQ(dialog->slider(6)->value(), 200);
    EXPECT_EQ(dialog->valueLabel(6)->text(), "200");

    dialog->reject();
    EXPECT_FALSE(parts.line.serialPort().IsOpen());
    dialog.reset();
}

}  // namespace
}  // namespace halyx::test
