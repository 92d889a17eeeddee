#include "ui/form/channel_grid.h"

#include "ui/grid/grid_ctrl.h"

namespace halyx {

using namespace channel_grid;

void SetUpChannelGrid(CGridCtrl& grid) {
    grid.SetEditable(false);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowCount(1);
    for (int column = 0; column < kColumnCount; ++column) {
        grid.SetColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    }
    grid.EnableSelection(false);
    for (int row = 0; row < kRowCount; ++row) {
        grid.SetRowHeight(row, kRowHeight);
    }
}

}  // namespace halyx
