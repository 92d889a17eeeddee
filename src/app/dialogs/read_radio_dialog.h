#pragma once

#include <functional>

#include "app/dialogs/exchange_dialog.h"
#include "link/radio_read_exchange.h"

namespace halyx {

// Reads the radio into the document's image. Start opens the port if it is closed and runs the
// read; while it runs, both buttons and the title-bar close box are out of action (Esc still
// cancels). Success is reported with S0009, after which the main window rebuilds its view and
// title (`afterSuccessfulRead`) and the dialog closes; a failure is reported with S0006, closes
// the port and leaves the dialog open for another try.
class ReadRadioDialog : public ExchangeDialog {
public:
    ReadRadioDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                    UiPrompts& prompts, std::function<void()> afterSuccessfulRead,
                    QWidget* parent = nullptr);

    Exchange& exchange() override { return exchange_; }

    // The start button (1001).
    void OnStart();

    void OnFinished(ExchangeResult result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    std::string_view operationName() const override { return "read"; }

private:
    // The radio's bytes land here and reach the document only when the whole read succeeded, so
    // a read that fails half-way leaves the image the user had.
    RadioImage received_;
    RadioReadExchange exchange_;
    std::function<void()> afterSuccessfulRead_;
};

}  // namespace halyx
