#pragma once

#include <QLineEdit>

namespace halyx {

// The Serial Number box: letters, digits and spaces only. The clipboard keys are refused like
// any other control character; text pasted another way (context menu, Shift+Insert) must
// consist of the same characters or it is not inserted.
class SerialNumberEdit : public QLineEdit {
public:
    explicit SerialNumberEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace halyx
