#pragma once

#include <QDialog>

namespace halyx {

struct AppContext;

// The About box: the application icon, two lines of text and an OK button.
class CAboutDlg : public QDialog {
public:
    CAboutDlg(const AppContext& context, QWidget* parent = nullptr);
};

}  // namespace halyx
