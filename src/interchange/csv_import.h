#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/radio_image.h"
#include "interchange/csv_table.h"

namespace halyx {

// A file longer than this is refused before it is read (a channel list has 20 rows; exports of
// bigger radios a few thousand); notes past the limit are summarised in one more note.
inline constexpr std::size_t kCsvImportLineLimit = 10000;
inline constexpr std::size_t kCsvImportNoteLimit = 100;

// What an import note is about, so that a face can word it in its own language from `values`.
enum class ImportNoteKind {
    NotAChannel,        // values: the location
    NotAFrequency,      // values: the text
    OutsideBand,        // values: MHz, band's lower MHz, upper MHz
    OffChannelStep,     // values: MHz, stored MHz
    NotInToneTable,     // values: the tone or code (with its polarity when that is the fault)
    TonesUnavailable,   // values: the tone mode or cross mode
    TransmitIsReceive,  // values: the duplex
    ModeUnavailable,    // values: the mode
    NotStored,          // no values
    ChannelRepeated,    // values: the channel number
    MoreNotes,          // values: how many
};

// One line of the import report: where in the file, and what was done about it.
struct ImportNote {
    int line = 0;         // line of the file (the header is line 1)
    std::string column;   // the column concerned; empty for the whole row
    std::string message;  // in English, as the command line prints it
    ImportNoteKind kind = ImportNoteKind::NotStored;
    std::vector<std::string> values;  // the file's values the note quotes, shown escaped
};

struct CsvImportOptions {
    bool clearFirst = false;  // empty all twenty channels before the file's rows are stored
};

struct CsvImport {
    RadioImage image;  // the input image with the file's channels stored
    std::vector<ImportNote> notes;
    std::vector<int> channels;      // channels the file set, in file order
    std::optional<CsvError> error;  // the file could not be read at all; `image` is the input
};

// Stores the channels of a channel-list CSV into a copy of `image` with the channel setters'
// rules (a value outside the band skips its row rather than being clamped), and says what it did
// with every row it could not take as it was.
// One call is one change of the image, so it can be undone as one step.
CsvImport ImportChannelsCsv(const RadioImage& image, std::string_view csvText,
                            const CsvImportOptions& options = {});

std::string DescribeNote(const ImportNote& note);

}  // namespace halyx
