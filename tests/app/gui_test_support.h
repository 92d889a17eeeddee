#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link_port.h"
#include "ui/common/ui_prompts.h"

namespace halyx::test {

// Answers every box and dialog at once and remembers what was asked.
class RecordingPrompts : public UiPrompts {
public:
    struct Message {
        PromptIcon icon;
        QString caption;
        QString text;
        PromptButtons buttons;
        QString detail = {};  // the text beneath the main one, for boxes that have it
        // The buttons' own words of a question asked with them (ask), Cancel beside them.
        QString yesText = {};
        QString noText = {};
    };

    PromptAnswer message(QWidget* parent, PromptIcon icon, const QString& caption,
                         const QString& text, PromptButtons buttons) override;
    void informWithDetail(QWidget* parent, PromptIcon icon, const QString& caption,
                          const QString& text, const QString& detail) override;
    // Recorded as a Yes/No question with its buttons' words; answered as message() answers.
    PromptAnswer ask(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text,
                     const QString& yesText, const QString& noText) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogSpec& spec) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogSpec& spec) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;

    std::vector<Message> messages;
    // Runs while a box is "up", before it is answered: a test sees the window behind it as the
    // user would.
    std::function<void(const Message&)> whileShown;
    // Answers to questions, in order; once they run out Yes (Discard to the unsaved-edit
    // question).
    std::deque<PromptAnswer> answers;
    // Paths the file dialogs return, in order; cancelled once they run out.
    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    std::vector<FileDialogSpec> openSpecs;
    std::vector<FileDialogSpec> saveSpecs;
    // When set, the print dialog is "confirmed" with output to this PDF file.
    QString pdfPath;

private:
    PromptAnswer Answer(PromptButtons buttons);
};

// A link port that opens or fails as told and counts what was done to it.
class FakeLinkPort : public LinkPort {
public:
    bool Open(const PortText& port, std::uint32_t) override {
        opened.push_back(port.portNumber);
        open = succeed;
        return succeed;
    }
    void Close() override {
        ++closes;
        open = false;
    }
    bool IsOpen() const override { return open; }
    PortOpenFailure LastOpenFailure() const override {
        return succeed ? PortOpenFailure{} : failure;
    }
    void Write(const std::uint8_t*, std::uint16_t) override {}
    // The device goes away: the port closes itself and says so.
    void Vanish() {
        open = false;
        emit lost();
    }

    bool succeed = true;
    bool open = false;
    PortOpenFailure failure;  // what a failed open reports
    std::vector<int> opened;
    int closes = 0;
};

// A throw-away program directory (HALYX_HOME) and current directory for each test, with
// language files whose texts name their key ("en S0037", "中 S0037"). The program directory is
// found once per process, so all tests of a program share one folder, emptied before each test.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path home() const;
    std::filesystem::path work() const;
    // XDG_DATA_HOME of the tests, emptied before each: the halyx folder of backups and the audit
    // log is beneath it.
    std::filesystem::path dataHome() const;

    void WriteSettings(const std::string& content);
    std::string ReadSettings() const;
    bool SettingsExist() const;
    // english.lang and chinese.lang with a text for every key S0000..S0201.
    void WriteLanguageFiles();
    void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) const;

    static QString English(const char* key) { return QStringLiteral("en ") + key; }
    static QString Chinese(const char* key) { return QStringLiteral("中 ") + key; }

private:
    static QTemporaryDir& SharedHome();

    QTemporaryDir work_;
    std::filesystem::path previousDirectory_;
};

}  // namespace halyx::test
