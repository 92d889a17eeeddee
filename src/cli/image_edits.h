#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/radio_document.h"
#include "image/radio_image.h"
#include "image/tone_table.h"

namespace halyx::cli {

// One `halyx-cli set` option with its value, e.g. {"--rx", "446.00625"}.
struct EditOption {
    std::string name;
    std::string value;
};

struct EditError {
    std::string option;   // the option that was refused
    std::string value;    // what it was given
    std::string allowed;  // what it accepts, for the message
};

// Applies the edits in order, each as one edit of the document through the channel and settings
// setters the window uses. Stops at the first refused edit and reports it; the caller then
// discards the document.
// Each value the image holds other than as given (a frequency clamped to the band or moved
// onto the channel step) adds a line to `corrections` when one is given.
std::optional<EditError> ApplyEdits(const std::vector<EditOption>& edits, const ToneTable& tones,
                                    RadioDocument& document,
                                    std::vector<std::string>* corrections = nullptr);
// The same on a bare image.
std::optional<EditError> ApplyEdits(const std::vector<EditOption>& edits, const ToneTable& tones,
                                    RadioImage& image);

// Whether `name` is an option ApplyEdits understands (all of them take a value).
bool IsEditOption(const std::string& name);
// Every option ApplyEdits understands.
std::vector<std::string> EditOptionNames();

std::string DescribeEditError(const EditError& error);

}  // namespace halyx::cli
