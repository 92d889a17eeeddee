#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/grid/grid_ctrl.h"

namespace halyx::test {

inline constexpr int kChannelGridId = 1029;
inline constexpr int kColumnWidths[] = {63, 112, 112, 102, 102, 60};
inline constexpr int kRowHeight = 21;
inline constexpr int kRows = 21;
inline constexpr int kColumns = 6;

// The set-up the channel view makes, in its order.
inline void ConfigureLikeChannelView(CGridCtrl& grid) {
    grid.SetColumnCount(kColumns);
    grid.SetEditable(false);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowCount(1);
    for (int column = 0; column < kColumns; ++column) {
        grid.SetColumnWidth(column, kColumnWidths[column]);
    }
    grid.EnableSelection(false);
    grid.SetRowHeight(0, kRowHeight);
    grid.SetRowCount(kRows);
    for (int row = 1; row < kRows; ++row) {
        grid.SetItemText(row, 0, QString::asprintf("CH%02d", row));
        grid.SetRowHeight(row, kRowHeight);
    }
    const char* headers[] = {"CH", "RX Freq", "TX Freq", "Decode", "Encode", "W/N"};
    for (int column = 0; column < kColumns; ++column) {
        grid.SetItemText(0, column, QString::fromLatin1(headers[column]));
    }
    grid.NotifyTextsChanged();
}

struct NotifyRecord {
    GridCellNotify notify;
    CCellID focusAtNotify;
    bool gridHadFocus = false;
};

// Records every notification with the grid's focus cell at the moment it arrived.
class NotifyRecorder {
public:
    explicit NotifyRecorder(CGridCtrl& grid)
        : connection_(QObject::connect(
              &grid, &CGridCtrl::gridNotify, &grid, [this, &grid](const GridCellNotify& notify) {
                  records.push_back({notify, grid.GetFocusCell(), grid.hasFocus()});
              })) {}
    ~NotifyRecorder() { QObject::disconnect(connection_); }
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    std::vector<NotifyRecord> withCode(int code) const {
        std::vector<NotifyRecord> found;
        for (const NotifyRecord& record : records) {
            if (record.notify.code == code) {
                found.push_back(record);
            }
        }
        return found;
    }

    std::vector<NotifyRecord> records;

private:
    QMetaObject::Connection connection_;
};

// A shown, active window holding a channel grid too small for all its cells, and an edit box
// standing in for the view's in-place editor.
class ChannelGridTest : public ::testing::Test {
protected:
    static constexpr int kGridWidth = 420;
    static constexpr int kGridHeight = 300;

    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(kGridWidth + 40, kGridHeight + 60);
        grid_ = new CGridCtrl(window_.get());
        grid_->SetDlgCtrlID(kChannelGridId);
        grid_->setGeometry(10, 10, kGridWidth, kGridHeight);
        ConfigureLikeChannelView(*grid_);
        editor_ = new QLineEdit(window_.get());
        editor_->setGeometry(10, kGridHeight + 20, 100, 24);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    QPoint CellCentre(int row, int column) const {
        QRect rect;
        EXPECT_TRUE(grid_->GetCellRect(row, column, rect));
        return rect.center();
    }
    void Click(int row, int column) {
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                          CellCentre(row, column));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(grid_, static_cast<Qt::Key>(key), modifiers);
    }

    std::unique_ptr<QWidget> window_;
    CGridCtrl* grid_ = nullptr;
    QLineEdit* editor_ = nullptr;
};

}  // namespace halyx::test
