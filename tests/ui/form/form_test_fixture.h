#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editing/radio_document.h"
#include "settings/language.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"

namespace halyx {
class CGridCtrl;
}

namespace halyx::test {

// Four frequency bytes, most significant first.
using FrequencyBytes = std::array<std::uint8_t, 4>;

// The texts of one language file, read as the shipped files are.
class FileTexts : public TextSource {
public:
    std::string text(std::string_view key) const override { return language.LangString(key); }
    std::string languageValue() const override { return "english"; }
    Language language;
};

// Answers every box at once and keeps the texts of the information boxes.
class FormRecordingPrompts : public UiPrompts {
public:
    PromptAnswer message(QWidget*, PromptIcon, const QString&, const QString& text,
                         PromptButtons) override {
        informed.push_back(text);
        return PromptAnswer::Ok;
    }
    std::optional<QString> openFile(QWidget*, const FileDialogSpec&) override { return {}; }
    std::optional<QString> saveFile(QWidget*, const FileDialogSpec&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }

    std::vector<QString> informed;
};

// What the main form is given: the document, the texts and the prompts.
struct FormContext {
    explicit FormContext(const std::filesystem::path& languageFile) {
        texts.language.setFile(languageFile);
    }

    const RadioImage& image() const { return document.image(); }
    std::string text(std::string_view key) const { return texts.text(key); }
    // Changes the image as a file or a radio read would: replaced as a whole.
    void ChangeImage(const std::function<void(RadioImage&)>& change) {
        RadioImage changed = document.image();
        change(changed);
        document.Replace(changed);
    }

    RadioDocument document;
    FileTexts texts;
    FormRecordingPrompts prompts;
};

// A shown, active main form on an image whose every byte is set (so that a stray write shows),
// with the shipped English language file. Channel 1 is 446.00625 with tone 0 and 12.5K;
// channel 2 is erased (FF); channel 3 is 446.10000; channel 5 is 446.20000.
class FormTest : public ::testing::Test {
public:
    static std::vector<std::size_t> Range(std::size_t offset, std::size_t size);
    static std::filesystem::path LanguageFile(const char* fileName);

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

    std::unique_ptr<FormContext> context;
    std::unique_ptr<CHalyxView> view;
};

}  // namespace halyx::test
