#include "form_test_fixture.h"

#include <QAbstractItemView>
#include <QTest>
#include <cstdlib>
#include <numeric>

#include "image/option_lists.h"
#include "ui/form/channel_editors.h"
#include "ui/form/frequency_edit.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

void PutFrequency(RadioImage& image, int channel, std::size_t field, FrequencyBytes bytes) {
    std::copy(bytes.begin(), bytes.end(), image.bytes.begin() + RecordOffset(channel) + field);
}

}  // namespace

RadioImage FormTest::PatternImage() {
    RadioImage image;
    for (std::size_t i = 0; i < image.bytes.size(); ++i) {
        image.bytes[i] = static_cast<std::uint8_t>(0x5A ^ (i * 7));
    }
    image.length = static_cast<std::uint16_t>(kImageSize);
    image.bytes[header::kBand] = 1;
    image.bytes[header::kTimeOut] = 60;
    image.bytes[header::kVoxLevel] = 2;
    image.bytes[header::kSquelchLevel] = 5;
    image.bytes[header::kSettingsChannel] = 3;
    image.bytes[header::kLanguage] = 1;
    image.bytes[header::kTxPower] = 2;
    image.bytes[header::kScramble] = 0;
    image.bytes[header::kCompand] = 1;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        PutFrequency(image, channel, record::kRxFrequency, {0xFF, 0xFF, 0xFF, 0xFF});
        PutFrequency(image, channel, record::kTxFrequency, {0xFF, 0xFF, 0xFF, 0xFF});
    }
    const FrequencyBytes used[] = {
        {0x44, 0x60, 0x06, 0x25}, {0x44, 0x61, 0x00, 0x00}, {0x44, 0x62, 0x00, 0x00}};
    const int usedChannels[] = {1, 3, 5};
    for (std::size_t i = 0; i < std::size(usedChannels); ++i) {
        const int channel = usedChannels[i];
        PutFrequency(image, channel, record::kRxFrequency, used[i]);
        PutFrequency(image, channel, record::kTxFrequency, used[i]);
        const std::size_t base = RecordOffset(channel);
        image.bytes[base + record::kRxTone] = 0;
        image.bytes[base + record::kTxTone] = 0;
        image.bytes[base + record::kBandwidth] = 0;
    }
    return image;
}

std::filesystem::path FormTest::LanguageFile(const char* fileName) {
    return std::filesystem::path(std::getenv("HALYX_SOURCE_DIR")) / "data" / fileName;
}

void FormTest::SetUp() {
    context = std::make_unique<FormContext>(LanguageFile("english.lang"));
    context->document.Replace(PatternImage());
    view = std::make_unique<CHalyxView>(context->document, context->texts, context->prompts);
    view->show();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->OnInitialUpdate();
}

void FormTest::TearDown() {
    view.reset();
    context.reset();
}

void FormTest::UseLanguage(const char* fileName) {
    context->texts.language.setFile(LanguageFile(fileName));
}

QLineEdit& FormTest::frequencyEditor() const {
    return *view->editors().frequencyEdit();
}

QComboBox& FormTest::choiceEditor() const {
    return *view->editors().choiceList();
}

void FormTest::ClickCell(int row, int column) {
    QRect cell;
    ASSERT_TRUE(grid().GetCellRect(row, column, cell));
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
}

void FormTest::ClickBackground() {
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(4, 4));
}

void FormTest::Choose(QComboBox& list, int position) {
    list.setFocus();
    list.showPopup();
    list.view()->setCurrentIndex(list.model()->index(position, 0));
    QTest::keyClick(list.view(), Qt::Key_Return);
}

FrequencyBytes FormTest::rxFrequency(int channel) const {
    FrequencyBytes bytes{};
    const auto begin =
        context->image().bytes.begin() + RecordOffset(channel) + record::kRxFrequency;
    std::copy_n(begin, bytes.size(), bytes.begin());
    return bytes;
}

FrequencyBytes FormTest::txFrequency(int channel) const {
    FrequencyBytes bytes{};
    const auto begin =
        context->image().bytes.begin() + RecordOffset(channel) + record::kTxFrequency;
    std::copy_n(begin, bytes.size(), bytes.begin());
    return bytes;
}

std::uint8_t FormTest::recordByte(int channel, std::size_t offset) const {
    return context->image().bytes[RecordOffset(channel) + offset];
}

std::vector<std::size_t> FormTest::ChangedOffsets(const RadioImage& before) const {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (before.bytes[i] != context->image().bytes[i]) {
            changed.push_back(i);
        }
    }
    return changed;
}

std::vector<std::size_t> FormTest::Range(std::size_t offset, std::size_t size) {
    std::vector<std::size_t> range(size);
    std::iota(range.begin(), range.end(), offset);
    return range;
}

}  // namespace halyx::test
