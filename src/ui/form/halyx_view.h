#pragma once

#include <QWidget>

#include "editing/radio_document.h"

namespace halyx {

struct GridCellNotify;
class CGridCtrl;
class ChannelEditors;
class ChannelRowCommands;
class ChannelTableModel;
class CommonSettingsPanel;
class TextSource;
class UiPrompts;

// The main form: the channel grid with its in-place editors on the left and the common settings
// panel on the right, both showing the document and editing only through it. Every change of
// the document, whoever made it, shows at once. The main window calls OnInitialUpdate when the
// form is first shown and whenever everything must be rebuilt (after a radio read, after a
// language switch).
class CHalyxView : public QWidget {
public:
    // Template 101 of the form, in dialog units.
    static constexpr int kFormWidthUnits = 474;
    static constexpr int kFormHeightUnits = 305;

    // The document, texts and prompts must outlive the form.
    CHalyxView(RadioDocument& document, const TextSource& texts, UiPrompts& prompts,
               QWidget* parent = nullptr);
    ~CHalyxView() override;
    CHalyxView(const CHalyxView&) = delete;
    CHalyxView& operator=(const CHalyxView&) = delete;

    // Rebuilds lists, grid and texts from the language and the document.
    void OnInitialUpdate();
    // Drops an open editor and shows the document anew (the WM_REFRESH_IMAGE message); returns
    // 1 as it did.
    int OnRefreshImage();
    // Stores what an open cell editor holds and closes it. Commands that use the image (save,
    // write to the radio) call this first, since toolbar buttons do not take the focus.
    void EndEditing();

    // Undo and redo of the document's edits (the accelerators); false when there was none.
    bool Undo();
    bool Redo();

    CGridCtrl* grid() const { return grid_; }
    ChannelEditors& editors() const { return *editors_; }
    ChannelRowCommands& rowCommands() const { return *rowCommands_; }
    ChannelTableModel& channelModel() const { return *model_; }
    CommonSettingsPanel& settingsPanel() const { return *panel_; }

    int initialUpdateCount() const { return initialUpdates_; }
    int refreshCount() const { return refreshes_; }

protected:
    // Clicking the form's background takes the focus, which ends any in-place editing.
    void mousePressEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    void OnGridNotify(const GridCellNotify& notify);
    void OnDocumentChanged(const DocumentChange& change);
    void SetTabOrder();
    void WidenGridToShowEveryColumn();
    void AnnounceChosenRows();

    RadioDocument& document_;
    const TextSource& texts_;
    RadioDocument::Subscription subscription_ = 0;
    CGridCtrl* grid_ = nullptr;
    ChannelTableModel* model_ = nullptr;
    ChannelEditors* editors_ = nullptr;
    ChannelRowCommands* rowCommands_ = nullptr;
    CommonSettingsPanel* panel_ = nullptr;
    int initialUpdates_ = 0;
    int extraWidth_ = 0;  // pixels added to the template width so every column shows
    int refreshes_ = 0;
};

}  // namespace halyx
