#include "factory/tuning_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace halyx {

TuningSlider::TuningSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

bool TuningSlider::IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

void TuningSlider::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    captured_ = captured_ || event->button() == Qt::LeftButton;
}

void TuningSlider::mouseReleaseEvent(QMouseEvent* event) {
    // The slider settles first (a drag ends where the handle was let go), then the final
    // position is what the radio gets.
    QSlider::mouseReleaseEvent(event);
    if (!captured_ || event->button() != Qt::LeftButton) {
        return;
    }
    captured_ = false;
    if (onRelease_) {
        onRelease_(value());
    }
}

void TuningSlider::keyPressEvent(QKeyEvent* event) {
    // Reported before the step is taken: the radio hears the value the user was looking at
    // when pressing the key, the way the tuning procedure has always worked.
    if (IsArrowKey(event->key()) && onArrowKey_) {
        onArrowKey_(value());
    }
    QSlider::keyPressEvent(event);
}

}  // namespace halyx
