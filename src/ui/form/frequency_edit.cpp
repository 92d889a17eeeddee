#include "ui/form/frequency_edit.h"

#include <QKeyEvent>

#include "ui/form/keystroke_filter.h"

namespace halyx {

FrequencyEdit::FrequencyEdit(QWidget* parent) : QLineEdit(parent) {
    // An input method would insert composed text past the keystroke filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void FrequencyEdit::keyPressEvent(QKeyEvent* event) {
    const auto character = TypedCharacter(*event);
    if (character && !IsFrequencyCharacter(*character, text().contains(QLatin1Char('.')))) {
        event->accept();  // dropped, as if never typed
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace halyx
