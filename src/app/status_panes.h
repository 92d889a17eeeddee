#pragma once

#include <QLabel>
#include <QString>

namespace halyx {

// A lock-key indicator of the status bar (Caps Lock, Num Lock, Scroll Lock). It keeps its text
// but shows it only while its key is on. Qt offers no portable way to read the lock keys, so
// the panes stay blank until something reports a state through setLockOn.
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

}  // namespace halyx
