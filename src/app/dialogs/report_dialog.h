#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class QTableWidget;

namespace halyx {

// A modal list of findings: a summary line above a read-only table. The import report (line,
// column, what was done) and the comparison (one line per difference) both use it.
class ReportDialog : public QDialog {
public:
    ReportDialog(const QString& title, const QString& summary, const QStringList& headings,
                 const std::vector<QStringList>& rows, QWidget* parent);

    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

}  // namespace halyx
