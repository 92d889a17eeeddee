#pragma once

#include <QWidget>

namespace halyx {

struct AppContext;

// The main form: the channel grid and the common settings panel, filled from the radio image.
// The main window calls OnInitialUpdate when the form is first shown and whenever everything
// must be rebuilt (after a radio read, after a language switch), and OnRefreshImage when the
// image changed in bulk (a file opened, the default image restored).
class CHalyxView : public QWidget {
public:
    // Template 101 of the form, in dialog units.
    static constexpr int kFormWidthUnits = 474;
    static constexpr int kFormHeightUnits = 305;

    CHalyxView(AppContext& context, QWidget* parent = nullptr);

    // Rebuilds lists, grid and texts from the language and the image.
    void OnInitialUpdate();
    // Reloads every control from the image (the WM_REFRESH_IMAGE message); returns 1 as it did.
    int OnRefreshImage();

    int initialUpdateCount() const { return initialUpdates_; }
    int refreshCount() const { return refreshes_; }

protected:
    AppContext& context() { return context_; }

private:
    AppContext& context_;
    int initialUpdates_ = 0;
    int refreshes_ = 0;
};

}  // namespace halyx
