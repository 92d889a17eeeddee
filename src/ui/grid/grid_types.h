#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>

namespace halyx {

class CGridCtrl;

// Bits of a cell's state word.
inline constexpr std::uint32_t CELL_FOCUSED = 0x01;
inline constexpr std::uint32_t CELL_SELECTED = 0x02;  // counts only while selection is enabled
inline constexpr std::uint32_t CELL_READONLY = 0x08;
inline constexpr std::uint32_t CELL_FIXED = 0x10;
inline constexpr std::uint32_t CELL_FIXEDROW = 0x20;
inline constexpr std::uint32_t CELL_FIXEDCOL = 0x40;

// Bits the grid keeps itself; callers cannot set or clear them through SetItemState.
inline constexpr std::uint32_t kGridManagedStateBits =
    CELL_FOCUSED | CELL_SELECTED | CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL;

// Model role carrying a cell's own state bits. A model reports CELL_READONLY through it; the
// grid works out the focus, selection and fixed bits itself.
inline constexpr int kGridStateRole = Qt::UserRole + 1;

// Notification codes. The values are those of the list-view and common-control codes the
// channel view was first written against, so code that compares numbers keeps working.
inline constexpr int GN_SELCHANGING = -100;
inline constexpr int GN_SELCHANGED = -101;
inline constexpr int GN_BEGINLABELEDIT = -105;
inline constexpr int GN_ENDLABELEDIT = -106;
// Named GN_ rather than NM_ so that they cannot clash with the platform's common-control macros.
inline constexpr int GN_CLICK = -2;
inline constexpr int GN_DBLCLK = -3;
inline constexpr int GN_RCLICK = -5;

// A cell position; (-1, -1) means no cell.
struct CCellID {
    int row = -1;
    int col = -1;

    constexpr CCellID() = default;
    constexpr CCellID(int r, int c) : row(r), col(c) {}
    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    friend constexpr bool operator==(const CCellID&, const CCellID&) = default;
};

// An inclusive rectangle of cells; invalid (empty) when any bound is negative.
struct CCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    constexpr bool IsValid() const {
        return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol;
    }
    constexpr bool InRange(int row, int col) const {
        return IsValid() && row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    friend constexpr bool operator==(const CCellRange&, const CCellRange&) = default;
};

// What the grid tells its parent: which grid, its control id, the code and the cell concerned.
struct GridCellNotify {
    CGridCtrl* source = nullptr;
    int controlId = 0;
    int code = 0;
    int row = -1;
    int column = -1;
};

}  // namespace halyx
