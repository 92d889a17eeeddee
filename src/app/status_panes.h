#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <array>
#include <memory>

class QStatusBar;

#include "app/lock_key_source.h"

namespace halyx {

// A lock-key indicator of the status bar (Caps Lock, Num Lock, Scroll Lock). It keeps its text
// but shows it only while its key is on.
class LockIndicatorPane : public QLabel {
public:
    LockIndicatorPane(const QString& text, QWidget* parent = nullptr);

    void setPaneText(const QString& text);
    const QString& paneText() const { return paneText_; }
    void setLockOn(bool on);
    bool isLockOn() const { return lockOn_; }

private:
    void Redraw();

    QString paneText_;
    bool lockOn_ = false;
};

// Keeps the three lock panes in step with the keyboard. The platforms send no event when a lock
// key changes, so the state is read again whenever a key is pressed or released anywhere in the
// application and whenever one of its windows becomes the active one (the key may have been
// pressed while another program had the keyboard).
class LockPaneUpdater : public QObject {
public:
    using Panes = std::array<LockIndicatorPane*, 3>;  // Caps Lock, Num Lock, Scroll Lock

    LockPaneUpdater(const Panes& panes, std::unique_ptr<LockKeySource> source,
                    QObject* parent = nullptr);
    ~LockPaneUpdater() override;

    void setSource(std::unique_ptr<LockKeySource> source);
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Panes panes_;
    std::unique_ptr<LockKeySource> source_;
};

// The status bar's panes that say where the image came from and what happened last: a notice
// (what became of the last entry the form corrected), the last radio operation's result and the
// backup it left, the image's file (or the radio and time it was read), and the port. What a
// notice or a result says is also announced to screen readers, since it appears away from the
// focus.
class CStatusPanes {
public:
    // Adds the panes to `bar`: the notice beside the message pane, the others as permanent
    // panes before the lock indicators (so add them before those).
    explicit CStatusPanes(QStatusBar& bar);

    void ShowNotice(const QString& text);
    void ShowResult(const QString& text);
    void ShowFile(const QString& text);
    // The port's name, shown enabled while the port is open and greyed while it is not.
    void ShowPort(const QString& name, bool open);

    QLabel* noticePane() const { return notice_; }
    QLabel* resultPane() const { return result_; }
    QLabel* filePane() const { return file_; }
    QLabel* portPane() const { return port_; }

private:
    static void Announce(QLabel* pane, const QString& text);

    QLabel* notice_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* file_ = nullptr;
    QLabel* port_ = nullptr;
};

}  // namespace halyx
