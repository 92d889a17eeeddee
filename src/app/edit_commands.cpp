#include "app/edit_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <array>
#include <utility>

#include "app/command_ids.h"
#include "editing/radio_document.h"
#include "ui/form/channel_row_commands.h"
#include "ui/form/halyx_view.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {
namespace {

using Command = ChannelRowCommands::Command;

struct EditEntry {
    int commandId;
    Command command;
};

constexpr std::array<EditEntry, 7> kEntries{{
    {cmd::kEditUndo, Command::Undo},
    {cmd::kEditRedo, Command::Redo},
    {cmd::kEditCut, Command::Cut},
    {cmd::kEditCopy, Command::Copy},
    {cmd::kEditPaste, Command::Paste},
    {cmd::kEditClear, Command::Clear},
    {cmd::kEditBulkSet, Command::BulkSet},
}};

}  // namespace

EditCommands::EditCommands(CHalyxView& view, RadioDocument& document, const ActionOf& actionOf,
                           QObject* parent)
    : QObject(parent), view_(view), document_(document), actionOf_(actionOf) {
    for (const EditEntry& entry : kEntries) {
        if (entry.command == Command::Undo || entry.command == Command::Redo) {
            continue;  // the window's handlers
        }
        const Command command = entry.command;
        connect(actionOf_(entry.commandId), &QAction::triggered, this,
                [this, command] { view_.rowCommands().Run(command); });
    }
    // Delete clears channels only from the grid: in a list or a box it means what it always has.
    QAction* clear = actionOf_(cmd::kEditClear);
    clear->setShortcut(QKeySequence(QKeySequence::Delete));
    clear->setShortcutContext(Qt::WidgetShortcut);
    view_.grid()->addAction(clear);
    actionOf_(cmd::kEditBulkSet)->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));

    subscription_ = document_.Subscribe([this](const DocumentChange&) { Update(); });
    // The focus moves after the grid has told of it.
    connect(view_.grid(), &CGridCtrl::gridNotify, this,
            [this] { QTimer::singleShot(0, this, &EditCommands::Update); });
    connect(view_.grid(), &CGridCtrl::chosenRowsChanged, this, &EditCommands::Update);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::Update);
    // The keyboard going to the grid or away from it changes which row the commands act on.
    // Queued: the focus also changes while the window's widgets are being destroyed.
    connect(qApp, &QApplication::focusChanged, this,
            [this] { QTimer::singleShot(0, this, &EditCommands::Update); });
    Update();
}

EditCommands::~EditCommands() {
    document_.Unsubscribe(subscription_);
}

void EditCommands::Update() {
    for (const EditEntry& entry : kEntries) {
        actionOf_(entry.commandId)->setEnabled(view_.rowCommands().Applies(entry.command));
    }
}

}  // namespace halyx
