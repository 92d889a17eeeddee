#include "ui/form/halyx_view.h"

#include <QMouseEvent>
#include <numeric>

#include "app/app_context.h"
#include "ui/common/dialog_units.h"
#include "ui/common/ui_font.h"
#include "ui/form/channel_editors.h"
#include "ui/form/channel_grid.h"
#include "ui/form/channel_row_commands.h"
#include "ui/form/form_ids.h"
#include "ui/form/frequency_edit.h"
#include "ui/form/row_command_texts.h"
#include "ui/form/settings_panel.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

CHalyxView::CHalyxView(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("CHalyxView"));
    setMinimumSize(DialogSize(kFormWidthUnits, kFormHeightUnits));
    setFocusPolicy(Qt::ClickFocus);

    grid_ = new CGridCtrl(this);
    grid_->setObjectName(QString::number(form::kGrid));
    grid_->SetDlgCtrlID(form::kGrid);
    PlaceControl(grid_, 14, 18, 317, 274);
    editors_ = new ChannelEditors(context_, *grid_, *this, [this] { Fill(); });
    panel_ = new CommonSettingsPanel(context_, *this);
    rowCommands_ = new ChannelRowCommands(
        context_, *grid_, *this, [this] { editors_->EndEditing(); }, [this] { Fill(); });
    connect(grid_, &CGridCtrl::gridNotify, this, &CHalyxView::OnGridNotify);
    connect(grid_, &CGridCtrl::contextMenuRequested, rowCommands_,
            [this](int, const QPoint& globalPos) { rowCommands_->ShowMenu(globalPos); });
    connect(grid_, &CGridCtrl::chosenRowsChanged, this, &CHalyxView::AnnounceChosenRows);
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
    // Closing the window takes the focus from an open editor, and its commit would refill a view
    // that is half destroyed: drop the edit while the view is still whole.
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
    editors_->frequencyEdit()->setMaxLength(FrequencyEdit::kMaxCharacters);
    LabelChannelGrid(*grid_, context_);
    ApplyUiFont(this);
    LoadHeaderCopy(context_.image, context_.headerCopy);
    Fill();
}

int CHalyxView::OnRefreshImage() {
    ++refreshes_;
    editors_->CancelEditing();
    LoadHeaderCopy(context_.image, context_.headerCopy);
    Fill();
    return 1;
}

void CHalyxView::Fill() {
    LoadHeaderCopy(context_.image, context_.headerCopy);
    panel_->Fill();
    FillChannelGrid(*grid_, context_);
    grid_->Invalidate();
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
        const auto text = [this](const FormText& form) {
            return QString::fromStdString(context_.textOr(form.key, form.english));
        };
        const QString first = grid_->GetItemText(chosen.minRow, 0);
        description =
            chosen.minRow == chosen.maxRow
                ? text(row_texts::kRowChosen).arg(first)
                : text(row_texts::kRowsChosen).arg(first, grid_->GetItemText(chosen.maxRow, 0));
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
