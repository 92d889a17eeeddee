#include "ui/form/halyx_view.h"

#include <QMouseEvent>
#include <numeric>

#include "ui/common/dialog_units.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"
#include "ui/form/channel_editors.h"
#include "ui/form/channel_grid.h"
#include "ui/form/channel_row_commands.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/form_ids.h"
#include "ui/form/row_command_texts.h"
#include "ui/form/settings_panel.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

CHalyxView::CHalyxView(RadioDocument& document, const TextSource& texts, UiPrompts& prompts,
                       QWidget* parent)
    : QWidget(parent), document_(document), texts_(texts) {
    setObjectName(QStringLiteral("CHalyxView"));
    // The controls are born with the UI font, so the first initial update changes no font and
    // no control measures itself twice (nor builds a list's popup early) at start.
    setFont(UiFont());
    setMinimumSize(DialogSize(kFormWidthUnits, kFormHeightUnits));
    setFocusPolicy(Qt::ClickFocus);

    grid_ = new CGridCtrl(this);
    grid_->setObjectName(QString::number(form::kGrid));
    grid_->SetDlgCtrlID(form::kGrid);
    PlaceControl(grid_, 14, 18, 317, 274);
    model_ = new ChannelTableModel(document_, texts_, this);
    grid_->setModel(model_);
    editors_ = new ChannelEditors(*grid_, *this);
    grid_->setItemDelegate(editors_);
    SetUpChannelGrid(*grid_);
    panel_ = new CommonSettingsPanel(document_, texts_, *this);
    rowCommands_ = new ChannelRowCommands(document_, texts_, prompts, model_->toneTable(), *grid_,
                                          *this, [this] { editors_->EndEditing(); });
    connect(grid_, &CGridCtrl::gridNotify, this, &CHalyxView::OnGridNotify);
    connect(grid_, &CGridCtrl::contextMenuRequested, rowCommands_,
            [this](int, const QPoint& globalPos) { rowCommands_->ShowMenu(globalPos); });
    connect(grid_, &CGridCtrl::chosenRowsChanged, this, &CHalyxView::AnnounceChosenRows);
    subscription_ =
        document_.Subscribe([this](const DocumentChange& change) { OnDocumentChanged(change); });
    WidenGridToShowEveryColumn();
    SetTabOrder();
}

// The form's grid is a little smaller than its six columns and twenty-one rows, which would hide
// the bandwidth column and the last channel behind scroll bars. Grow it to fit them and move the
// settings group right by as much as the grid widened.
void CHalyxView::WidenGridToShowEveryColumn() {
    const auto& widths = channel_grid::kColumnWidths;
    const int frame = 2 * grid_->frameWidth();
    const int width = std::accumulate(widths.begin(), widths.end(), 0) + frame;
    const int height = channel_grid::kRowCount * channel_grid::kRowHeight + frame;
    extraWidth_ = std::max(0, width - grid_->width());
    const int gridRight = grid_->geometry().right();
    grid_->resize(std::max(width, grid_->width()), std::max(height, grid_->height()));
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != grid_ && child->x() > gridRight) {
            child->move(child->x() + extraWidth_, child->y());
        }
    }
    setMinimumSize(sizeHint());
}

CHalyxView::~CHalyxView() {
    document_.Unsubscribe(subscription_);
    // Closing the window takes the focus from an open editor, and its commit would edit through
    // a view that is half destroyed: drop the edit while the view is still whole.
    editors_->CancelEditing();
}

void CHalyxView::SetTabOrder() {
    // The grid first, then the settings from top to bottom as they are laid out.
    QWidget* previous = grid_;
    for (QWidget* control : panel_->TabOrder()) {
        setTabOrder(previous, control);
        previous = control;
    }
}

void CHalyxView::OnInitialUpdate() {
    ++initialUpdates_;
    editors_->CancelEditing();  // whatever it held belongs to the image being replaced
    SetUpChannelGrid(*grid_);
    panel_->Init();
    model_->Retranslate();
    ApplyUiFont(this);
    panel_->Fill();
    grid_->Invalidate();
}

int CHalyxView::OnRefreshImage() {
    ++refreshes_;
    editors_->CancelEditing();
    panel_->Fill();
    model_->Refresh();
    grid_->Invalidate();
    return 1;
}

void CHalyxView::OnDocumentChanged(const DocumentChange& change) {
    // Whatever an open editor held belongs to the image being replaced.
    if (change.wholeImage) {
        editors_->CancelEditing();
    }
    // The grid's model follows the channels itself; the panel shows the settings.
    if (change.settings || change.wholeImage) {
        panel_->Fill();
    }
}

void CHalyxView::EndEditing() {
    editors_->EndEditing();
}

bool CHalyxView::Undo() {
    return rowCommands_->Undo();
}

bool CHalyxView::Redo() {
    return rowCommands_->Redo();
}

void CHalyxView::AnnounceChosenRows() {
    // Screen readers read the grid's description, "CH03 to CH07 chosen"; setting it tells them.
    const CCellRange chosen = grid_->GetChosenRows();
    QString description;
    if (chosen.IsValid()) {
        const QString first = grid_->GetItemText(chosen.minRow, 0);
        description = chosen.minRow == chosen.maxRow
                          ? texts_.qtext(row_texts::kRowChosen).arg(first)
                          : texts_.qtext(row_texts::kRowsChosen)
                                .arg(first, grid_->GetItemText(chosen.maxRow, 0));
    }
    grid_->setAccessibleDescription(description);
}

void CHalyxView::OnGridNotify(const GridCellNotify& notify) {
    if (notify.controlId == form::kGrid && notify.code == GN_SELCHANGING) {
        editors_->OnGridCell(notify.row, notify.column);
    }
}

void CHalyxView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

QSize CHalyxView::sizeHint() const {
    return DialogSize(kFormWidthUnits, kFormHeightUnits) + QSize(extraWidth_, 0);
}

}  // namespace halyx
