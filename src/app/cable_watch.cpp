#include "app/cable_watch.h"

namespace halyx {
namespace {

bool SameList(const std::vector<CableEntry>& a, const std::vector<CableEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.comName == y.comName && x.devicePath == y.devicePath && x.usbId == y.usbId &&
               x.description == y.description;
    });
}

}  // namespace

CableWatch::CableWatch(Probe probe, std::function<void()> onChanged, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), onChanged_(std::move(onChanged)) {
    cables_ = probe_();
    for (const CableEntry& cable : cables_) {
        seenAtStart_.insert(cable.devicePath);
    }
    // Polled rather than told: Qt has no plug notice of its own, and a listing a second is cheap.
    timer_.setInterval(kPollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &CableWatch::Poll);
    timer_.start();
}

void CableWatch::Poll() {
    std::vector<CableEntry> now = probe_();
    if (SameList(now, cables_)) {
        return;
    }
    for (const CableEntry& cable : now) {
        if (seenAtStart_.count(cable.devicePath) == 0) {
            fresh_.insert(cable.devicePath);
        }
    }
    cables_ = std::move(now);
    if (onChanged_) {
        onChanged_();
    }
}

}  // namespace halyx

#include <QFont>
#include <QTableWidget>

namespace halyx {

void ShowCables(QTableWidget& table, const CableWatch& watch, const QString& newMark) {
    const std::vector<CableEntry>& cables = watch.cables();
    table.setRowCount(static_cast<int>(cables.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const CableEntry& cable = cables[static_cast<std::size_t>(row)];
        QString port = QString::fromStdString(cable.comName);
        const bool fresh = watch.isNew(cable);
        if (fresh) {
            port += QStringLiteral(" (") + newMark + QLatin1Char(')');
        }
        const QString cells[kCableColumns] = {
            port, QString::fromStdString(cable.devicePath), QString::fromStdString(cable.usbId),
            QString::fromStdString(cable.chip), QString::fromStdString(cable.description)};
        for (int column = 0; column < kCableColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (fresh) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table.setItem(row, column, item);
        }
    }
    table.resizeColumnsToContents();
}

}  // namespace halyx
