#pragma once

#include <QPersistentModelIndex>
#include <QStringList>
#include <QStyledItemDelegate>

#include "ui/grid/grid_types.h"

class QComboBox;
class QKeyEvent;

namespace halyx {

class CGridCtrl;
class FrequencyEdit;

// The drop-down entry a cell's text selects: the first entry, from the second one on and
// wrapping round to the first, that begins with the text (case ignored). An empty text thus
// selects the second entry. -1 when nothing matches.
int ChoicePositionFor(const QStringList& entries, const QString& cellText);

// The channel grid's item delegate: an edit box for the two frequencies and a drop-down for the
// tones and the bandwidth, which Qt places over the cell and closes. The two editors live as
// long as the form (automation finds them by their control ids), so Qt's "destroy" only hides
// them. A frequency is stored only when it was typed into, a drop-down entry only when the user
// picks it; what is stored goes through the channel model into the document.
//
// Keyboard: a move in the grid opens the target cell's editor as a click does. In an editor,
// Enter commits and returns to the grid, Escape puts the cell's text back and returns, Tab and
// Shift+Tab (and Up/Down in the frequency box) commit and move on to the next cell, the Menu key
// and Shift+F10 open the row menu. Undo and redo keys undo the frequency box's typing first.
class ChannelEditors : public QStyledItemDelegate {
public:
    ChannelEditors(CGridCtrl& grid, QWidget& form);

    FrequencyEdit* frequencyEdit() const { return frequencyEdit_; }
    QComboBox* choiceList() const { return choiceList_; }
    // The cell being edited, or the last one that was.
    CCellID target() const;

    // The grid reported a cell (a click or a keyboard move): open its editor.
    void OnGridCell(int row, int column);
    // Commits an open editor and closes it.
    void EndEditing();
    // Closes an open editor without storing anything (the image is about to be replaced).
    void CancelEditing();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* OpenEditor() const;
    void Close(QWidget* editor, bool commit, EndEditHint hint);
    bool OnEditorShortcut(QWidget* editor, QKeyEvent* event);
    bool OnEditorKey(QWidget* editor, QKeyEvent* event);
    bool OnGridKey(QKeyEvent* event);
    void OnGridFocusIn(Qt::FocusReason reason);
    void OnChoiceActivated(int position);

    CGridCtrl& grid_;
    FrequencyEdit* frequencyEdit_ = nullptr;
    QComboBox* choiceList_ = nullptr;
    mutable QPersistentModelIndex target_;
    int pickedChoice_ = -1;  // the entry the user picked since the drop-down opened
};

}  // namespace halyx
