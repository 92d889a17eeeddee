// The grid's own in-place editor, used only while editing is on.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <utility>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
// A frameless line edit that reports Escape and keeps Return to itself: QLineEdit passes Return
// on to its parent, where the grid would take it as a request to edit again.
class InPlaceEdit : public QLineEdit {
public:
    InPlaceEdit(QWidget* parent, std::function<void()> onCancel)
        : QLineEdit(parent), onCancel_(std::move(onCancel)) {
        setFrame(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            onCancel_();
            return;
        }
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
        }
    }

private:
    std::function<void()> onCancel_;
};
}  // namespace

void CGridCtrl::StartEdit(const CCellID& cell, const QString& initialText, bool replaceText) {
    if (editor_ || !IsCellEditable(cell.row, cell.col)) {
        return;
    }
    EnsureVisible(cell.row, cell.col);
    QRect rect;
    if (!GetCellRect(cell.row, cell.col, rect)) {
        return;
    }
    QPointer<CGridCtrl> alive(this);
    SendNotify(GN_BEGINLABELEDIT, cell);
    if (!alive) {
        return;
    }
    auto* editor = new InPlaceEdit(viewport(), [this] { EndEdit(false); });
    editor->setFont(GetCell(cell.row, cell.col)->GetFont());
    editor->setText(initialText);
    if (replaceText) {
        editor->end(false);
    } else {
        editor->selectAll();
    }
    editor->setGeometry(rect.adjusted(0, 0, -1, -1));  // leaves the grid lines showing
    editCell_ = cell;
    editor_ = editor;
    connect(editor, &QLineEdit::editingFinished, this, [this] { EndEdit(true); });
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
}

void CGridCtrl::EndEdit(bool commit) {
    if (!editor_) {
        return;
    }
    QLineEdit* editor = editor_;
    const CCellID cell = editCell_;
    editor_ = nullptr;
    editCell_ = CCellID();
    // Hiding a focused editor fires editingFinished again; this edit is already over.
    editor->blockSignals(true);
    const bool hadFocus = editor->hasFocus();
    const QString text = editor->text();
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
    editor->hide();
    editor->deleteLater();
    if (commit && IsValid(cell)) {
        SetItemText(cell.row, cell.col, text);
    }
    SendNotify(GN_ENDLABELEDIT, cell);
}

}  // namespace halyx
