#include "app/status_panes.h"

#include <QAccessible>
#include <QEvent>
#include <QGuiApplication>
#include <QStatusBar>
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

namespace {

constexpr int kResultMaxWidth = 260;  // longer results are cut short; the tip holds all of it

QLabel* MakePane(QStatusBar& bar, const char* name) {
    auto* pane = new QLabel(&bar);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setTextFormat(Qt::PlainText);
    return pane;
}

QLabel* MakeFramedPane(QStatusBar& bar, const char* name) {
    QLabel* pane = MakePane(bar, name);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    return pane;
}

}  // namespace

CStatusPanes::CStatusPanes(QStatusBar& bar) {
    notice_ = MakePane(bar, "noticePane");
    bar.addWidget(notice_, 1);
    result_ = MakeFramedPane(bar, "resultPane");
    result_->setMaximumWidth(kResultMaxWidth);
    bar.addPermanentWidget(result_);
    file_ = MakeFramedPane(bar, "filePane");
    bar.addPermanentWidget(file_);
    port_ = MakeFramedPane(bar, "portPane");
    bar.addPermanentWidget(port_);
    result_->hide();  // until there is a result
}

void CStatusPanes::Announce(QLabel* pane, const QString& text) {
    pane->setAccessibleName(text);
    if (text.isEmpty()) {
        return;
    }
    QAccessibleEvent changed(pane, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    // An alert is what screen readers speak at once, wherever the focus is.
    QAccessibleEvent alert(pane, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CStatusPanes::ShowNotice(const QString& text) {
    // A notice is read whole: the other panes give way to it.
    notice_->setMinimumWidth(notice_->fontMetrics().horizontalAdvance(text) + 8);
    notice_->setText(text);
    notice_->setToolTip(text);
    Announce(notice_, text);
}

void CStatusPanes::ShowResult(const QString& text) {
    result_->setText(result_->fontMetrics().elidedText(text, Qt::ElideMiddle, kResultMaxWidth - 8));
    result_->setToolTip(text);
    result_->setVisible(!text.isEmpty());
    Announce(result_, text);
}

void CStatusPanes::ShowFile(const QString& text) {
    file_->setText(text);
    file_->setAccessibleName(text);
}

void CStatusPanes::ShowPort(const QString& name, bool open) {
    port_->setText(name);
    port_->setAccessibleName(name);
    port_->setEnabled(open);
}

}  // namespace halyx
