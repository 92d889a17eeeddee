#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <array>

#include "app/app_settings.h"
#include "app/builtin_texts.h"
#include "app/lock_key_source.h"
#include "app/main_frame.h"
#include "app/menu_layout.h"
#include "app/slip_texts.h"
#include "app/status_pane_updater.h"
#include "app/status_panes.h"
#include "app/toolbar_icons.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/halyx_view.h"
#include "ui/form/settings_panel.h"

namespace halyx {
namespace {

// The lock indicators' texts as the string table has them; the Num Lock one is replaced from
// the language file at every menu localisation.
constexpr std::array<const char*, 3> kIndicatorTexts{"大写", "数字", "滚动"};

}  // namespace

bool CMainFrame::BuildToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QString::number(kToolBarId));
    toolBar_->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);

    const std::vector<QPixmap> images = ToolbarImages();
    std::size_t image = 0;
    for (int commandId : kToolbarButtons) {
        if (commandId == kSeparator) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = actions_.at(commandId);
        action->setIcon(QIcon(images.at(image++)));
        action->setIconVisibleInMenu(false);
        toolBar_->addAction(action);
        QWidget* button = toolBar_->widgetForAction(action);
        button->setObjectName(QString::number(commandId));
        button->installEventFilter(this);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    return true;
}

bool CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(kStatusBarId));
    messagePane_ = new QLabel(bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(messagePane_, 1);
    statusPanes_ = std::make_unique<StatusPaneUpdater>(document_, line_, settings_, *bar);
    view_->channelModel().SetCorrectionListener(
        [this](const QString& words) { statusPanes_->panes().ShowNotice(words); });
    view_->settingsPanel().SetRefusalListener(
        [this](const QString& words) { statusPanes_->panes().ShowNotice(words); });
    for (const char* text : kIndicatorTexts) {
        auto* pane = new LockIndicatorPane(QString::fromUtf8(text), bar);
        bar->addPermanentWidget(pane);
        indicators_.push_back(pane);
    }
    lockPanes_ = new LockPaneUpdater({indicators_[0], indicators_[1], indicators_[2]},
                                     MakePlatformLockKeySource(), this);
    RefreshStatusText();
    return true;
}

LockIndicatorPane* CMainFrame::indicatorPane(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= indicators_.size()) {
        return nullptr;
    }
    return indicators_[static_cast<std::size_t>(index)];
}

QString CMainFrame::ToolTipFor(int commandId) const {
    return QString::fromStdString(
        ToolbarTipText(commandId, UsesChineseBuiltinTexts(settings_.language.languageValue())));
}

QString CMainFrame::IdleText() const {
    return QString::fromStdString(
        IdleStatusText(UsesChineseBuiltinTexts(settings_.language.languageValue())));
}

bool CMainFrame::IsPointingAtCommand() const {
    if (pointedButton_ != nullptr) {
        return true;
    }
    const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || std::find(menus_.begin(), menus_.end(), menu) == menus_.end()) {
        return false;
    }
    const QAction* item = menu->activeAction();
    return item != nullptr && !item->isSeparator();
}

void CMainFrame::RefreshStatusText() {
    if (messagePane_ == nullptr) {
        return;
    }
    // Pointing at a command shows an empty message: the commands have no prompt texts. Until a
    // port is chosen, the idle message says how to choose one.
    if (IsPointingAtCommand()) {
        messagePane_->setText(QString());
    } else if (!IsPortChosen()) {
        messagePane_->setText(QString::fromStdString(settings_.language.textOr(
            slip_text::kNoPortChosen.key, slip_text::kNoPortChosen.english)));
    } else {
        messagePane_->setText(IdleText());
    }
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        RefreshStatusText();
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && portOpenPending_ &&
        windowHandle()->isExposed()) {
        // Queued, so the window's first paint (done while the expose is handled) comes first.
        QTimer::singleShot(0, this, &CMainFrame::OpenSerialPortIfPending);
        return QMainWindow::eventFilter(watched, event);
    }
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr || button->defaultAction() == nullptr) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::ToolTip: {
            // Worked out each time from the setting file, so the tips follow its language value.
            const auto* help = static_cast<QHelpEvent*>(event);
            const int commandId = button->defaultAction()->data().toInt();
            QToolTip::showText(help->globalPos(), ToolTipFor(commandId), button);
            return true;
        }
        case QEvent::Enter:
            pointedButton_ = button;
            RefreshStatusText();
            break;
        case QEvent::Leave:
            if (pointedButton_ == button) {
                pointedButton_ = nullptr;
            }
            RefreshStatusText();
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace halyx
