#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {

// Four frequency bytes, most significant first.
using FrequencyBytes = std::array<std::uint8_t, 4>;

// A shown, active main form on an image whose every byte is set (so that a stray write shows),
// with the shipped English language file. Channel 1 is 446.00625 with tone 0 and 12.5K;
// channel 2 is erased (FF); channel 3 is 446.10000; channel 5 is 446.20000.
class FormTest : public ::testing::Test {
public:
    static std::vector<std::size_t> Range(std::size_t offset, std::size_t size);

protected:
    void SetUp() override;
    void TearDown() override;

    void UseLanguage(const char* fileName);
    static RadioImage PatternImage();

    CGridCtrl& grid() const { return *view->grid(); }
    QLineEdit& frequencyEditor() const;
    QComboBox& choiceEditor() const;
    template <typename T>
    T* control(int id) const {
        return view->findChild<T*>(QString::number(id));
    }

    void ClickCell(int row, int column);
    void ClickBackground();
    // Picks a list entry the way a user does: from the open list, confirmed with Enter.
    static void Choose(QComboBox& list, int position);

    FrequencyBytes rxFrequency(int channel) const;
    FrequencyBytes txFrequency(int channel) const;
    std::uint8_t recordByte(int channel, std::size_t offset) const;
    // Offsets where the image differs from `before`.
    std::vector<std::size_t> ChangedOffsets(const RadioImage& before) const;

    QTemporaryDir home;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<CHalyxView> view;
};

}  // namespace halyx::test
