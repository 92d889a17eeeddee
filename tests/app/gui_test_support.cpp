#include "gui_test_support.h"
#include "support/temp_dir.h"

#include <QPrinter>
#include <fstream>
#include <iterator>
#include <sstream>

namespace halyx::test {

PromptAnswer RecordingPrompts::message(QWidget*, PromptIcon icon, const QString& caption,
                                       const QString& text, PromptButtons buttons) {
    messages.push_back({icon, caption, text, buttons});
    return Answer(buttons);
}

PromptAnswer RecordingPrompts::ask(QWidget*, PromptIcon icon, const QString& caption,
                                   const QString& text, const QString& yesText,
                                   const QString& noText) {
    messages.push_back({icon, caption, text, PromptButtons::YesNo, {}, yesText, noText});
    return Answer(PromptButtons::YesNo);
}

PromptAnswer RecordingPrompts::Answer(PromptButtons buttons) {
    if (whileShown) {
        whileShown(messages.back());
    }
    if (buttons == PromptButtons::Ok) {
        return PromptAnswer::Ok;
    }
    if (answers.empty()) {
        // Going on is the default, as Yes is for a question.
        return buttons == PromptButtons::SaveDiscardCancel ? PromptAnswer::Discard
                                                           : PromptAnswer::Yes;
    }
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingPrompts::informWithDetail(QWidget*, PromptIcon icon, const QString& caption,
                                        const QString& text, const QString& detail) {
    messages.push_back({icon, caption, text, PromptButtons::Ok, detail});
}

std::optional<QString> RecordingPrompts::openFile(QWidget*, const FileDialogSpec& spec) {
    openSpecs.push_back(spec);
    if (openPaths.empty()) {
        return std::nullopt;
    }
    QString path = openPaths.front();
    openPaths.pop_front();
    return path;
}

std::optional<QString> RecordingPrompts::saveFile(QWidget*, const FileDialogSpec& spec) {
    saveSpecs.push_back(spec);
    if (savePaths.empty()) {
        return std::nullopt;
    }
    QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

bool RecordingPrompts::choosePrinter(QWidget*, QPrinter& printer) {
    if (pdfPath.isEmpty()) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
}

QTemporaryDir& ShellTest::SharedHome() {
    static QTemporaryDir home;
    return home;
}

void ShellTest::SetUp() {
    ASSERT_TRUE(SharedHome().isValid());
    ASSERT_TRUE(work_.isValid());
    qputenv("HALYX_HOME", SharedHome().path().toUtf8());
    // Backups and audit lines of radio operations stay in the test's own folder.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome().string()));
    for (const auto& entry : std::filesystem::directory_iterator(home())) {
        std::filesystem::remove_all(entry.path());
    }
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(work());
}

void ShellTest::TearDown() {
    std::filesystem::current_path(previousDirectory_);
}

std::filesystem::path ShellTest::home() const {
    return std::filesystem::path(SharedHome().path().toStdString());
}

std::filesystem::path ShellTest::work() const {
    return std::filesystem::path(work_.path().toStdString());
}

std::filesystem::path ShellTest::dataHome() const {
    // Beside the program directory, which lives as long as the process: the file layout that
    // names the data folder is found once per process, like the program directory.
    return home() / "xdg-data";
}

void ShellTest::WriteSettings(const std::string& content) {
    std::ofstream(home() / "setting.ini", std::ios::binary) << content;
}

std::string ShellTest::ReadSettings() const {
    return testing::ReadText(home() / "setting.ini");
}

bool ShellTest::SettingsExist() const {
    return std::filesystem::exists(home() / "setting.ini");
}

void ShellTest::WriteLanguageFiles() {
    std::ofstream english(home() / "english.lang", std::ios::binary);
    std::ofstream chinese(home() / "chinese.lang", std::ios::binary);
    english << "[Strings]\r\n";
    chinese << "[Strings]\r\n";
    for (int number = 0; number <= 201; ++number) {
        char key[8];
        std::snprintf(key, sizeof key, "S%04d", number);
        english << key << "=" << English(key).toStdString() << "\r\n";
        chinese << key << "=" << Chinese(key).toStdString() << "\r\n";
    }
}

void ShellTest::WriteFile(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ShellTest::ReadFile(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace halyx::test
