#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <array>
#include <memory>

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

}  // namespace halyx
