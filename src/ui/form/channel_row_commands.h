#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <map>

#include "editing/channel_rows.h"
#include "settings/text_key.h"

class QAction;
class QMenu;
class QWidget;

namespace halyx {

class CGridCtrl;
class RadioDocument;
class TextSource;
class ToneTable;
class UiPrompts;

// The channel rows' context menu and what its commands do to the image: copy, cut, paste, clear,
// move, insert, delete, bulk edit, undo and redo. A command works on the chosen rows, or on the
// focus row when none are chosen, and each is one undo step.
class ChannelRowCommands : public QObject {
public:
    enum class Command {
        Copy,
        Cut,
        Paste,
        Clear,
        MoveUp,
        MoveDown,
        Insert,
        Delete,
        Undo,
        Redo,
        BulkSet
    };

    // `endEditing` stores an open cell edit before a command runs. The tone table is the one
    // the grid shows, for the bulk edit's lists and the clipboard's text form.
    ChannelRowCommands(RadioDocument& document, const TextSource& texts, UiPrompts& prompts,
                       const ToneTable& tones, CGridCtrl& grid, QWidget& form,
                       std::function<void()> endEditing);

    ChannelRange TargetRows() const;
    // Whether the command has something to work on now (rows to act on, channels on the
    // clipboard, an edit to undo); the menus enable their items by it.
    bool Applies(Command command) const;
    void Run(Command command);
    bool Undo();
    bool Redo();

    // Opens the menu for the target rows at `globalPos` (it does not block).
    void ShowMenu(const QPoint& globalPos);
    QMenu* menu() const { return menu_; }
    QAction* action(Command command) const { return actions_.at(command); }

private:
    void BuildMenu();
    void UpdateMenu();
    bool EditImage(const std::function<void(RadioImage&)>& change);
    QString Text(const TextKey& key) const;
    void Inform(const QString& text);
    void CopyToClipboard(ChannelRange rows);
    bool ClipboardHasChannels() const;
    void Paste(ChannelRange rows);
    void Insert(ChannelRange rows);
    void BulkSet(ChannelRange rows);
    void FollowRows(int first, int last);

    RadioDocument& document_;
    const TextSource& texts_;
    UiPrompts& prompts_;
    const ToneTable& tones_;
    CGridCtrl& grid_;
    QWidget& form_;
    std::function<void()> endEditing_;
    QMenu* menu_ = nullptr;
    std::map<Command, QAction*> actions_;
};

}  // namespace halyx
