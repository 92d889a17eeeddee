#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>

#include "app/app_settings.h"
#include "app/edit_commands.h"
#include "app/main_frame.h"
#include "app/menu_layout.h"
#include "app/qt_translations.h"
#include "app/status_panes.h"
#include "editing/radio_document.h"
#include "image/option_lists.h"
#include "settings/language.h"
#include "settings/program_directory.h"
#include "settings/setting_file.h"
#include "ui/common/shell_texts.h"

namespace halyx {
namespace {

struct Accelerator {
    int commandId;
    std::array<const char*, 2> keys;
};

// New, Open and Save carry their shortcuts on the menu items themselves; these are the rest of the
// accelerator table (the standard save id keeps its action for macros, without a key: Ctrl+S
// belongs to Save), put on the Edit and File menus' items where those have one (so the menus
// show them). Edit boxes still get the clipboard keys first through Qt's shortcut override.
const std::array<Accelerator, 9> kAccelerators{{
    {cmd::kFileSaveStandard, {nullptr, nullptr}},
    {cmd::kFilePrint, {"Ctrl+P", nullptr}},
    {cmd::kEditUndo, {"Ctrl+Z", "Alt+Backspace"}},
    {cmd::kEditRedo, {"Ctrl+Y", "Ctrl+Shift+Z"}},
    {cmd::kEditCut, {"Ctrl+X", "Shift+Del"}},
    {cmd::kEditCopy, {"Ctrl+C", "Ctrl+Ins"}},
    {cmd::kEditPaste, {"Ctrl+V", "Shift+Ins"}},
    {cmd::kNextPane, {"F6", nullptr}},
    {cmd::kPreviousPane, {"Shift+F6", nullptr}},
}};

}  // namespace

QAction* CMainFrame::AddCommand(int commandId, QObject* owner) {
    auto* action = new QAction(owner);
    action->setData(commandId);
    action->setObjectName(QString::number(commandId));
    actions_[commandId] = action;
    return action;
}

void CMainFrame::BuildMenus() {
    for (const MenuSpec& spec : kMainMenus) {
        QMenu* menu = menuBar()->addMenu(QString());
        menus_.push_back(menu);
        for (const MenuItemSpec& item : spec.items) {
            if (item.commandId == kSeparator) {
                menu->addSeparator();
                continue;
            }
            menu->addAction(AddCommand(item.commandId, this));
        }
        connect(menu, &QMenu::hovered, this, [this] { RefreshStatusText(); });
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateViewChecks);
        connect(menu, &QMenu::aboutToShow, this, [this] { editCommands_->Update(); });
        // Once the menu is gone (or another one has opened) the idle text comes back.
        connect(menu, &QMenu::aboutToHide, this,
                [this] { QTimer::singleShot(0, this, &CMainFrame::RefreshStatusText); });
    }
    actions_[cmd::kFileNew]->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    actions_[cmd::kFileOpen]->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    actions_[cmd::kFileSave]->setShortcut(QKeySequence::Save);
    actions_[cmd::kViewToolbar]->setCheckable(true);
    actions_[cmd::kViewStatusBar]->setCheckable(true);
}

void CMainFrame::BuildAccelerators() {
    for (const Accelerator& accelerator : kAccelerators) {
        QAction* action = commandAction(accelerator.commandId);
        if (action == nullptr) {
            action = AddCommand(accelerator.commandId, this);
        }
        QList<QKeySequence> sequences;
        for (const char* keys : accelerator.keys) {
            if (keys != nullptr) {
                sequences.append(QKeySequence(QString::fromLatin1(keys)));
            }
        }
        action->setShortcuts(sequences);
        addAction(action);
    }
    editCommands_ = new EditCommands(
        *view_, document_, [this](int commandId) { return commandAction(commandId); }, this);
}

void CMainFrame::UpdateViewChecks() {
    // Check marks are worked out afresh whenever a menu opens, as the framework does.
    if (toolBar_ != nullptr) {
        QSignalBlocker block(actions_[cmd::kViewToolbar]);
        actions_[cmd::kViewToolbar]->setChecked(toolBar_->isVisible());
    }
    QSignalBlocker block(actions_[cmd::kViewStatusBar]);
    actions_[cmd::kViewStatusBar]->setChecked(statusBar()->isVisible());
}

void CMainFrame::LocaliseMenus() {
    for (std::size_t position = 0; position < kMainMenus.size(); ++position) {
        const MenuSpec& spec = kMainMenus[position];
        menus_[position]->setTitle(spec.builtinEnglishTitle.empty()
                                       ? settings_.language.qtext(spec.titleKey)
                                       : QString::fromStdString(settings_.language.textOr(
                                             spec.titleKey, spec.builtinEnglishTitle)));
        for (const MenuItemSpec& item : spec.items) {
            if (item.commandId == kSeparator) {
                continue;
            }
            QAction* action = actions_[item.commandId];
            action->setText(item.builtinEnglish.empty()
                                ? settings_.language.qtext(item.textKey)
                                : QString::fromStdString(settings_.language.textOr(
                                      item.textKey, item.builtinEnglish)));
            action->setEnabled(true);
        }
    }
    // The toolbar is named after its View item, which is how Qt's toolbar menu and screen
    // readers present it.
    if (toolBar_ != nullptr) {
        toolBar_->setWindowTitle(actions_[cmd::kViewToolbar]->iconText());
    }
    if (indicators_.size() > 1) {
        indicators_[1]->setPaneText(settings_.language.qtext(keys::kNumLockPane));
    }
    editCommands_->Update();  // the items above were all enabled again
    menuBar()->update();
}

void CMainFrame::SwitchLanguage(bool english) {
    const std::string_view value = english ? settings::kEnglish : settings::kChinese;
    settings_.settingFile.writeText(settings::kSetupSection, settings::kLanguageKey, value);
    settings_.language.setFile(LanguageFileFor(settings_.layout, value));
    ApplyQtTranslations(value);
    LocaliseMenus();
    ReinitialiseViews();
    SetTitleFromLanguage();
    QTimer::singleShot(0, this, &CMainFrame::RefreshStatusText);
}

}  // namespace halyx
