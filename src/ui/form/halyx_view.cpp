#include "ui/form/halyx_view.h"

#include "app/app_context.h"
#include "app/dialog_units.h"

namespace halyx {

CHalyxView::CHalyxView(AppContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("CHalyxView"));
    setMinimumSize(DialogSize(kFormWidthUnits, kFormHeightUnits));
}

void CHalyxView::OnInitialUpdate() {
    ++initialUpdates_;
}

int CHalyxView::OnRefreshImage() {
    ++refreshes_;
    return 1;
}

}  // namespace halyx
