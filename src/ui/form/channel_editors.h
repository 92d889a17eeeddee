#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "ui/grid/grid_types.h"

class QComboBox;
class QKeyEvent;
class QWidget;

namespace halyx {

struct AppContext;
struct RecordCopy;
class CGridCtrl;
class FrequencyEdit;

// The drop-down entry a cell's text selects: the first entry, from the second one on and
// wrapping round to the first, that begins with the text (case ignored). An empty text thus
// selects the second entry. -1 when nothing matches.
int ChoicePositionFor(const QStringList& entries, const QString& cellText);

// The editors the form places over a channel cell: an edit box for the two frequencies and a
// drop-down for the tones and the bandwidth. Each change goes through the record working copy
// into the image, after which `refill` shows the image again.
//
// Keyboard: a move in the grid opens the target cell's editor as a click does. In an editor,
// Enter commits and returns to the grid, Escape puts the cell's text back and returns, Tab and
// Shift+Tab (and Up/Down in the frequency box) commit and move on to the next cell, the Menu key
// and Shift+F10 open the row menu. Undo and redo keys undo the frequency box's typing first.
class ChannelEditors : public QObject {
public:
    ChannelEditors(AppContext& context, CGridCtrl& grid, QWidget& form,
                   std::function<void()> refill);

    FrequencyEdit* frequencyEdit() const { return frequencyEdit_; }
    QComboBox* choiceList() const { return choiceList_; }
    CCellID target() const { return target_; }

    // The grid reported a cell (a click or a keyboard move): open its editor.
    void OnGridCell(int row, int column);
    // Commits an open frequency editor and hides both editors.
    void EndEditing();
    // Hides both editors without storing anything (the image is about to be replaced).
    void CancelEditing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Open { None, Frequency, Choice };

    bool PlaceOver(QWidget* editor, int row, int column);
    void OpenFrequency(int row, int column);
    void OpenChoice(int row, int column);
    void CommitFrequency();
    void CommitChoice(int position);
    void StoreAsOneStep(const RecordCopy& record, int channel);
    void HideChoice();
    bool OnEditorShortcut(QWidget* editor, QKeyEvent* event);
    bool OnEditorKey(QWidget* editor, QKeyEvent* event);
    bool OnGridKey(QKeyEvent* event);
    void OnGridFocusIn(Qt::FocusReason reason);
    bool KeepsFocusOut(QWidget* editor) const;
    void ReturnToGrid();
    void Announce(QWidget* editor, int row, int column);

    AppContext& context_;
    CGridCtrl& grid_;
    QWidget& form_;
    std::function<void()> refill_;
    FrequencyEdit* frequencyEdit_ = nullptr;
    QComboBox* choiceList_ = nullptr;
    CCellID target_;
    Open open_ = Open::None;
};

}  // namespace halyx
