#pragma once

#include <string>

#include "app/dialogs/exchange_dialog.h"
#include "link/radio_read_exchange.h"
#include "link/radio_write_exchange.h"
#include "settings/text_key.h"

class QCheckBox;

namespace halyx {

// Writes the radio image to the radio and reads it back to verify. Start opens the port if it
// is closed; both buttons are out of action while the write runs (the close box and Esc still
// cancel it). The verdict is S0008 (read back equal) or S0200 (different), after which the
// dialog closes; a failure is reported with S0006, closes the port and leaves the dialog open.
//
// With "read first" checked (remembered as [write] readFirst, on by default) the radio is read
// into a buffer of its own and backed up before anything is written: a radio of the other band
// is refused, a differing serial number or user ID is asked about (the radio's own is kept by
// default). A write that fails after the radio took part of it offers to write that backup back.
class WriteRadioDialog : public ExchangeDialog {
public:
    WriteRadioDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                     UiPrompts& prompts, QWidget* parent = nullptr,
                     std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks);

    Exchange& exchange() override;
    const RadioWriteExchange& writeExchange() const { return writeExchange_; }
    QCheckBox* readFirstBox() const { return readFirst_; }
    // The image the last write sent (the document's, with the identity settled).
    const RadioImage& imageWritten() const { return toWrite_; }

    // The start button (1001).
    void OnStart();

    void OnFinished(ExchangeResult result) override;

protected:
    std::string_view operationName() const override { return "write"; }

private:
    void AfterRead(ExchangeResult result);
    void AfterWrite(ExchangeResult result);
    void AfterPartWrite();
    // The radio read is settled (band, identity): the write itself begins.
    void StartWrite();
    void BackToIdle();
    std::string SlipText(const TextKey& text) const;

    RadioImage radio_;  // what the radio held, read before the write
    RadioReadExchange readExchange_;
    RadioImage toWrite_;
    RadioWriteExchange writeExchange_;
    QCheckBox* readFirst_ = nullptr;
    bool reading_ = false;
    bool writingBackup_ = false;
    bool readFirstRun_ = false;  // this run read the radio first
    std::string backupPath_;     // the backup of this run's read, when one was kept
};

}  // namespace halyx
