#pragma once

#include <QSlider>
#include <functional>

namespace halyx {

// A test point's slider. It reports the two moments a tuning value goes to the radio: the mouse
// letting go of it (after a drag or a click on the groove), and an arrow key, which is reported
// with the position the slider had BEFORE the key moves it. Page Up/Down, Home, End and the wheel
// move it without a report.
class TuningSlider : public QSlider {
public:
    using PositionHandler = std::function<void(int position)>;

    explicit TuningSlider(QWidget* parent = nullptr);

    void SetOnRelease(PositionHandler handler) { onRelease_ = std::move(handler); }
    void SetOnArrowKey(PositionHandler handler) { onArrowKey_ = std::move(handler); }

    static bool IsArrowKey(int key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PositionHandler onRelease_;
    PositionHandler onArrowKey_;
    bool captured_ = false;
};

}  // namespace halyx
