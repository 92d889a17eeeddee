#include "app/dialogs/report_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace halyx {
namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 360;

}  // namespace

ReportDialog::ReportDialog(const QString& title, const QString& summary,
                           const QStringList& headings, const std::vector<QStringList>& rows,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    auto* layout = new QVBoxLayout(this);
    auto* summaryLabel = new QLabel(summary, this);
    summaryLabel->setWordWrap(true);
    layout->addWidget(summaryLabel);

    table_ =
        new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headings.size()), this);
    table_->setHorizontalHeaderLabels(headings);
    table_->horizontalHeader()->setVisible(headings.size() > 1);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAccessibleName(title);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size() && c < table_->columnCount(); ++c) {
            table_->setItem(static_cast<int>(r), c, new QTableWidgetItem(rows[r][c]));
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace halyx
