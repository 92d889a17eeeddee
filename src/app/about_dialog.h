#pragma once

#include <QDialog>

namespace halyx {

class TextSource;

// The About box: the application icon, two lines of text and an OK button.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(const TextSource& texts, QWidget* parent = nullptr);
};

}  // namespace halyx
