#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "app/command_ids.h"
#include "app/toolbar_icons.h"
#include "ui/common/dialog_units.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"

namespace halyx {
namespace {

constexpr int kAboutWidthUnits = 235;
constexpr int kAboutHeightUnits = 55;
// The facts under the box's own lines, in dialog units.
constexpr int kFactsTopUnits = 50;
constexpr int kFactsLineUnits = 10;
constexpr int kFactsLines = 6;  // a long path takes two

namespace about_text {
inline constexpr TextKey kSettingFile{"S0360", "Setting file: %1"};
inline constexpr TextKey kBackups{"S0361", "Backups: %1"};
inline constexpr TextKey kAuditLog{"S0362", "Audit log: %1"};
}  // namespace about_text

}  // namespace

CAboutDlg::CAboutDlg(const TextSource& texts, const AboutFacts& facts, QWidget* parent)
    : CAboutDlg(texts, parent) {
    auto* details = new QLabel(this);
    details->setObjectName(QStringLiteral("facts"));
    details->setTextFormat(Qt::PlainText);
    details->setWordWrap(true);
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);  // to be read out or pasted
    details->setText(QStringList{facts.version,
                                 texts.qtext(about_text::kSettingFile).arg(facts.settingFile),
                                 texts.qtext(about_text::kBackups).arg(facts.backupFolder),
                                 texts.qtext(about_text::kAuditLog).arg(facts.auditLog)}
                         .join(QLatin1Char('\n')));
    PlaceControl(details, 11, kFactsTopUnits, kAboutWidthUnits - 22, kFactsLines * kFactsLineUnits);
    setFixedSize(
        DialogSize(kAboutWidthUnits, kFactsTopUnits + (kFactsLines + 1) * kFactsLineUnits));
    ApplyUiFont(this);
}

CAboutDlg::CAboutDlg(const TextSource& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(texts.qtext(keys::kAboutTitle));
    setFixedSize(DialogSize(kAboutWidthUnits, kAboutHeightUnits));

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
