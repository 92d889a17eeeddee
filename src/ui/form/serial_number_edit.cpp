#include "ui/form/serial_number_edit.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "ui/form/keystroke_filter.h"

namespace halyx {

SerialNumberEdit::SerialNumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Guards the paths that bypass the keystroke filter. The length is the box's own limit.
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Za-z ]*")), this));
}

void SerialNumberEdit::keyPressEvent(QKeyEvent* event) {
    const auto character = TypedCharacter(*event);
    if (character && !IsSerialNumberCharacter(*character)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace halyx
