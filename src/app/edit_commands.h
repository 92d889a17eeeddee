#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QAction;

namespace halyx {

class CHalyxView;
class RadioDocument;

// The Edit menu's commands on the channel rows: cut, copy, paste, clear and "Set for the chosen
// channels...", run by the rows' own commands, with each item enabled only while it applies.
// Undo and redo are the window's (they also undo a frequency box's typing first). Inside an
// edit box the clipboard keys stay the box's: a line edit claims them before any shortcut.
class EditCommands : public QObject {
public:
    using ActionOf = std::function<QAction*(int commandId)>;

    EditCommands(CHalyxView& view, RadioDocument& document, const ActionOf& actionOf,
                 QObject* parent);
    ~EditCommands() override;
    EditCommands(const EditCommands&) = delete;
    EditCommands& operator=(const EditCommands&) = delete;

    // Enables each item by whether it applies now.
    void Update();

private:
    CHalyxView& view_;
    RadioDocument& document_;
    ActionOf actionOf_;
    std::uint64_t subscription_ = 0;
};

}  // namespace halyx
