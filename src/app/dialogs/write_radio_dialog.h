#pragma once

#include "app/dialogs/exchange_dialog.h"
#include "link/radio_write_exchange.h"

namespace halyx {

// Writes the radio image to the radio and reads it back to verify. Start opens the port if it
// is closed; both buttons are out of action while the write runs (the close box and Esc still
// cancel it). The verdict is S0008 (read back equal) or S0200 (different), after which the
// dialog closes; a failure is reported with S0006, closes the port and leaves the dialog open.
class WriteRadioDialog : public ExchangeDialog {
public:
    WriteRadioDialog(AppContext& context, UiPrompts& prompts, QWidget* parent = nullptr,
                     std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks);

    Exchange& exchange() override { return exchange_; }
    const RadioWriteExchange& writeExchange() const { return exchange_; }

    // The start button (1001).
    void OnStart();

    void OnFinished(ExchangeResult result) override;

protected:
    std::string_view operationName() const override { return "write"; }

private:
    RadioWriteExchange exchange_;
};

}  // namespace halyx
