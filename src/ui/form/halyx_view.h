#pragma once

#include <QWidget>
#include <memory>

namespace halyx {

struct AppContext;
struct GridCellNotify;
class CGridCtrl;
class ChannelEditors;
class ChannelRowCommands;
class CommonSettingsPanel;

// The main form: the channel grid with its in-place editors on the left and the common settings
// panel on the right, both showing the radio image and writing every change straight into it.
// The main window calls OnInitialUpdate when the form is first shown and whenever everything
// must be rebuilt (after a radio read, after a language switch), and OnRefreshImage when the
// image changed in bulk (a file opened, the default image restored).
class CHalyxView : public QWidget {
public:
    // Template 101 of the form, in dialog units.
    static constexpr int kFormWidthUnits = 474;
    static constexpr int kFormHeightUnits = 305;

    CHalyxView(AppContext& context, QWidget* parent = nullptr);
    ~CHalyxView() override;

    // Rebuilds lists, grid and texts from the language and the image.
    void OnInitialUpdate();
    // Reloads every control from the image (the WM_REFRESH_IMAGE message); returns 1 as it did.
    int OnRefreshImage();
    // Shows the image: header working copy, panel, then the twenty channels.
    void Fill();
    // Stores what an open cell editor holds and closes it. Commands that use the image (save,
    // write to the radio) call this first, since toolbar buttons do not take the focus.
    void EndEditing();

    // Undo and redo of the form's edits (the accelerators); false when there was none.
    bool Undo();
    bool Redo();

    CGridCtrl* grid() const { return grid_; }
    ChannelEditors& editors() const { return *editors_; }
    ChannelRowCommands& rowCommands() const { return *rowCommands_; }

    int initialUpdateCount() const { return initialUpdates_; }
    int refreshCount() const { return refreshes_; }

protected:
    AppContext& context() { return context_; }
    // Clicking the form's background takes the focus, which ends any in-place editing.
    void mousePressEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    void OnGridNotify(const GridCellNotify& notify);
    void SetTabOrder();
    void WidenGridToShowEveryColumn();
    void AnnounceChosenRows();

    AppContext& context_;
    CGridCtrl* grid_ = nullptr;
    ChannelEditors* editors_ = nullptr;
    ChannelRowCommands* rowCommands_ = nullptr;
    CommonSettingsPanel* panel_ = nullptr;
    int initialUpdates_ = 0;
    int extraWidth_ = 0;  // pixels added to the template width so every column shows
    int refreshes_ = 0;
};

}  // namespace halyx
