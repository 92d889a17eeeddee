#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/command_ids.h"
#include "app/toolbar_icons.h"
#include "ui/common/dialog_units.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"

namespace halyx {
namespace {

constexpr int kWidthUnits = 235;
constexpr int kHeightUnits = 55;

}  // namespace

CAboutDlg::CAboutDlg(const TextSource& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(texts.qtext(keys::kAboutTitle));
    setFixedSize(DialogSize(kWidthUnits, kHeightUnits));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(AppIcon().pixmap(32, 32));
    icon->setGeometry(QRect(DialogRect(11, 17, 0, 0).topLeft(), QSize(32, 32)));

    auto* title = new QLabel(texts.qtext(keys::kAppTitle), this);
    title->setObjectName(QStringLiteral("line1"));
    PlaceControl(title, 40, 10, 119, 8);

    auto* line2 = new QLabel(texts.qtext(keys::kAboutLine2), this);
    line2->setObjectName(QStringLiteral("line2"));
    PlaceControl(line2, 40, 25, 119, 8);

    auto* ok = new QPushButton(texts.qtext(keys::kOkButton), this);
    ok->setObjectName(QString::number(ctrl::kOk));
    ok->setDefault(true);
    PlaceControl(ok, 178, 7, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    ApplyUiFont(this);
}

}  // namespace halyx
