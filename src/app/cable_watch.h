#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/cable_list.h"

namespace halyx {

// Watches the serial ports while a dialog is open: lists them once a second and tells the dialog
// when the list changes (a cable plugged in or pulled out). A cable that was not there at the
// first listing is "new" for as long as the dialog stays open.
class CableWatch : public QObject {
public:
    static constexpr int kPollIntervalMs = 1000;
    using Probe = std::function<std::vector<CableEntry>()>;

    // `probe` lists the ports; the first listing is taken at once. `onChanged` runs after a
    // listing that differs from the one before.
    CableWatch(Probe probe, std::function<void()> onChanged, QObject* parent = nullptr);

    const std::vector<CableEntry>& cables() const { return cables_; }
    bool isNew(const CableEntry& cable) const { return fresh_.count(cable.devicePath) != 0; }
    // Lists again now (the timer calls it).
    void Poll();

private:
    Probe probe_;
    std::function<void()> onChanged_;
    QTimer timer_;
    std::vector<CableEntry> cables_;
    std::set<std::string> seenAtStart_;
    std::set<std::string> fresh_;
};

}  // namespace halyx

class QTableWidget;

namespace halyx {

// Columns of a cable table: port, device, USB id, chip, description.
inline constexpr int kCableColumns = 5;
// Fills `table` with the watched cables, a new one's port marked with `newMark`.
void ShowCables(QTableWidget& table, const CableWatch& watch, const QString& newMark);

}  // namespace halyx
