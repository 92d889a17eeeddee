#include "app/status_pane_updater.h"

#include <QRegularExpression>
#include <QStatusBar>
#include <QTime>
#include <filesystem>

#include "app/app_settings.h"
#include "app/fleet_texts.h"
#include "app/radio_line.h"
#include "app/status_panes.h"
#include "app/status_texts.h"
#include "editing/radio_document.h"
#include "image/channel.h"
#include "link/port_names.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/shell_texts.h"

namespace halyx {
namespace {

// A menu text as words in a sentence: no access-key marks, no trailing dots.
QString PlainMenuText(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));  // "读频(&R)"
    text.remove(QLatin1Char('&'));
    while (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text.trimmed();
}

int ChannelsInUse(const RadioDocument& document) {
    int count = 0;
    for (int number = 1; number <= kChannelCount; ++number) {
        count += document.channel(number).IsEmpty() ? 0 : 1;
    }
    return count;
}

}  // namespace

StatusPaneUpdater::StatusPaneUpdater(RadioDocument& document, const RadioLine& line,
                                     const AppSettings& settings, QStatusBar& bar)
    : document_(document),
      line_(line),
      settings_(settings),
      panes_(std::make_unique<CStatusPanes>(bar)) {
    subscription_ = document_.Subscribe([this](const DocumentChange& change) {
        if (change.wholeImage) {
            readFrom_.clear();  // a read notes itself once the image is in
            RefreshFile();
        }
        if (!change.channels.empty() || change.settings) {
            panes_->ShowNotice({});  // a notice speaks of the edit before this one
        }
    });
    RefreshFile();
    RefreshPort();
}

StatusPaneUpdater::~StatusPaneUpdater() {
    document_.Unsubscribe(subscription_);
}

QString StatusPaneUpdater::PortName() const {
    return QString::fromStdString(ComName(line_.PortNumber()));
}

void StatusPaneUpdater::RefreshFile() {
    panes_->ShowFile(readFrom_.isEmpty() ? QString::fromStdString(document_.fileName())
                                         : readFrom_);
}

void StatusPaneUpdater::RefreshPort() {
    panes_->ShowPort(PortName(), line_.IsOpen());
}

void StatusPaneUpdater::NoteRadioRead() {
    readFrom_ = QString::fromStdString(settings_.language.textOr(status_text::kReadFrom))
                    .arg(PortName(), QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    RefreshFile();
}

QString StatusPaneUpdater::ResultWords(const std::string& result) const {
    const auto words = [this](const TextKey& key) {
        return QString::fromStdString(settings_.language.textOr(key));
    };
    if (result == "success") {
        return words(fleet_text::kSucceeded);
    }
    if (result == "link-failure") {
        return words(fleet_text::kLinkFailure);
    }
    if (result == "read-back-differs") {
        return words(fleet_text::kReadBackDiffers);
    }
    if (result == "port-error") {
        return words(fleet_text::kPortNotOpened);
    }
    if (result == "cancelled") {
        return words(fleet_text::kStopped);
    }
    return QString::fromStdString(result);
}

void StatusPaneUpdater::ShowOperation(const GuiRadioOperation& operation,
                                      const OperationRecord& record) {
    const bool read = operation.operation == "read";
    const bool write = operation.operation == "write";
    QString name = QString::fromStdString(operation.operation);
    if (read || write) {
        name = PlainMenuText(
            settings_.language.qtext(read ? keys::kMenuReadRadio : keys::kMenuWriteRadio));
    }
    QString words = ResultWords(operation.result);
    if (!record.backupPath.empty()) {
        // Named from the backup folder down, the way Open backup shows it.
        const std::filesystem::path folder = HistoryPlacesOf(settings_.layout).backupFolder;
        std::filesystem::path shown =
            std::filesystem::path(record.backupPath).lexically_relative(folder);
        if (shown.empty() || shown.native().starts_with("..")) {
            shown = record.backupPath;
        }
        words += QStringLiteral(", ") +
                 QString::fromStdString(settings_.language.textOr(status_text::kChannelsAndBackup))
                     .arg(QString::number(ChannelsInUse(document_)),
                          QString::fromStdString(shown.generic_string()));
    } else if (!record.backupError.empty()) {
        words += QStringLiteral(", ") +
                 QString::fromStdString(settings_.language.textOr(fleet_text::kBackupFailed));
    }
    panes_->ShowResult(QString::fromStdString(settings_.language.textOr(status_text::kResult))
                           .arg(name, PortName(), words));
    if (read && operation.result == "success") {
        NoteRadioRead();
    }
    RefreshPort();
}

}  // namespace halyx
