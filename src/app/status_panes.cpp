#include "app/status_panes.h"

namespace halyx {

LockIndicatorPane::LockIndicatorPane(const QString& text, QWidget* parent)
    : QLabel(parent), paneText_(text) {
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    Redraw();
}

void LockIndicatorPane::setPaneText(const QString& text) {
    paneText_ = text;
    Redraw();
}

void LockIndicatorPane::setLockOn(bool on) {
    lockOn_ = on;
    Redraw();
}

void LockIndicatorPane::Redraw() {
    // The pane keeps the width of its text whether or not the text shows, like the indicators
    // it copies, so the message pane does not jump when a lock key changes.
    setMinimumWidth(fontMetrics().horizontalAdvance(paneText_) + 2 * frameWidth() + 8);
    setText(lockOn_ ? paneText_ : QString());
    setAccessibleName(paneText_);
    update();
}

}  // namespace halyx
