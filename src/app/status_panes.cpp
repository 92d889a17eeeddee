#include "app/status_panes.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

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
    if (on == lockOn_) {
        return;
    }
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

LockPaneUpdater::LockPaneUpdater(const Panes& panes, std::unique_ptr<LockKeySource> source,
                                 QObject* parent)
    : QObject(parent), panes_(panes), source_(std::move(source)) {
    qGuiApp->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &LockPaneUpdater::Refresh);
    Refresh();
}

LockPaneUpdater::~LockPaneUpdater() {
    if (qGuiApp != nullptr) {
        qGuiApp->removeEventFilter(this);
    }
}

void LockPaneUpdater::setSource(std::unique_ptr<LockKeySource> source) {
    source_ = std::move(source);
    Refresh();
}

void LockPaneUpdater::Refresh() {
    const LockKeyStates states = source_ ? source_->Read() : LockKeyStates{};
    panes_[0]->setLockOn(states.capsLock);
    panes_[1]->setLockOn(states.numLock);
    panes_[2]->setLockOn(states.scrollLock);
}

bool LockPaneUpdater::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // A key event reaches the window first and then each widget it is passed on to;
            // reading once, at the window, is enough.
            if (watched->isWindowType()) {
                Refresh();
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace halyx
