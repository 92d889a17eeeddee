#pragma once

#include <QLineEdit>

namespace halyx {

// The grid's in-place frequency editor: an edit box that takes only what a frequency in
// megahertz is typed with. Pasted text is not filtered; the frequency parser copes with it.
class FrequencyEdit : public QLineEdit {
public:
    static constexpr int kMaxCharacters = 9;  // "446.00625"

    explicit FrequencyEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace halyx
