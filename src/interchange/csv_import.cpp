#include "interchange/csv_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>

#include "image/channel.h"
#include "image/frequency_codec.h"
#include "image/header_values.h"
#include "image/tone_table.h"
#include "image/visible_text.h"
#include "interchange/csv_columns.h"
#include "interchange/decimal_text.h"
#include "interchange/tone_columns.h"

namespace halyx {
namespace {

// Columns this radio has no place for; each is reported once per file.
constexpr std::array<std::string_view, 9> kNotStored = {
    "Name", "Power", "Skip", "TStep", "Comment", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\"");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t\"") - first + 1));
}

std::string Mhz(std::uint32_t hertz) {
    return FormatFrequency(hertz / kHzPerStep);
}

class RowReader {
public:
    RowReader(const std::map<std::string, std::size_t>& columns, const CsvRow& row,
              std::vector<ImportNote>& notes)
        : columns_(columns), row_(row), notes_(notes) {}

    // The field under a column name, trimmed; "" when the file lacks the column or the row is
    // short.
    std::string Get(std::string_view column) const {
        const auto found = columns_.find(LowerAscii(column));
        if (found == columns_.end() || found->second >= row_.fields.size()) {
            return {};
        }
        return Trimmed(row_.fields[found->second]);
    }

    // Notes quote the file's cells: their control characters and stray bytes are shown
    // escaped, so a report can be printed to a terminal or written as JSON.
    void Note(std::string_view column, const std::string& message, ImportNoteKind kind,
              std::vector<std::string> values = {}) const {
        for (std::string& value : values) {
            value = VisibleText(value);
        }
        notes_.push_back(
            {row_.line, std::string(column), VisibleText(message), kind, std::move(values)});
    }

    // Whether a frequency column's value lies in the band; a file's value outside it is
    // reported and its row skipped rather than clamped, as the user did not type it here.
    bool InBand(std::string_view column, std::uint64_t hertz, std::uint8_t band) const {
        if (hertz <= UINT32_MAX && IsInBand(static_cast<std::uint32_t>(hertz), band)) {
            return true;
        }
        const BandLimits limits = BandLimitsFor(band);
        const std::string mhz = FormatScaledDecimal(hertz, csv::kFrequencyDecimals);
        Note(column,
             mhz + " MHz is outside the band " + Mhz(limits.lowerHz) + "-" + Mhz(limits.upperHz) +
                 " MHz; row skipped",
             ImportNoteKind::OutsideBand, {mhz, Mhz(limits.lowerHz), Mhz(limits.upperHz)});
        return false;
    }

    // Reports a value the channel's frequency rule moved onto the channel step.
    void NoteCorrection(std::string_view column, std::uint64_t hertz,
                        const FrequencyCorrection& stored) const {
        if (stored.fix != FrequencyFix::Unchanged) {
            const std::string mhz = FormatScaledDecimal(hertz, csv::kFrequencyDecimals);
            Note(column, mhz + " MHz is off the channel step; stored as " + stored.stored,
                 ImportNoteKind::OffChannelStep, {mhz, stored.stored});
        }
    }

    std::optional<std::uint64_t> Hertz(std::string_view column) const {
        const std::string text = Get(column);
        const auto value = ParseScaledDecimal(text, csv::kFrequencyDecimals);
        if (!value) {
            Note(column, "'" + text + "' is not a frequency in MHz; row skipped",
                 ImportNoteKind::NotAFrequency, {text});
            return std::nullopt;
        }
        return value->value;
    }

    std::uint8_t Ctcss(std::string_view column) const {
        const std::string text = Get(column);
        if (const auto position = CtcssPosition(text)) {
            return *position;
        }
        Note(column, "tone '" + text + "' is not in the tone table; left off",
             ImportNoteKind::NotInToneTable, {text});
        return 0;
    }

    // `polarity` is the DtcsPolarity letter for this side; only normal (N) codes exist here.
    std::uint8_t Dcs(std::string_view column, char polarity) const {
        const std::string text = Get(column);
        if (polarity != 'N') {
            Note("DtcsPolarity",
                 "polarity '" + Get("DtcsPolarity") + "' of code " + text +
                     " is not available (normal codes only); left off",
                 ImportNoteKind::NotInToneTable, {text + " " + Get("DtcsPolarity")});
            return 0;
        }
        if (const auto position = DcsPosition(text)) {
            return *position;
        }
        Note(column, "code '" + text + "' is not in the tone table; left off",
             ImportNoteKind::NotInToneTable, {text});
        return 0;
    }

private:
    const std::map<std::string, std::size_t>& columns_;
    const CsvRow& row_;
    std::vector<ImportNote>& notes_;
};

struct TonePair {
    std::uint8_t rx = 0;
    std::uint8_t tx = 0;
};

// Only the columns the Tone mode names are read: exporters fill the others with placeholders.
TonePair ReadTones(const RowReader& row) {
    const std::string mode = LowerAscii(row.Get("Tone"));
    std::string polarity = row.Get("DtcsPolarity");
    polarity.resize(2, 'N');
    polarity = std::string(1, static_cast<char>(std::toupper(polarity[0]))) +
               static_cast<char>(std::toupper(polarity[1]));
    if (mode.empty()) {
        return {};
    }
    if (mode == "tone") {
        return {0, row.Ctcss("rToneFreq")};
    }
    if (mode == "tsql") {
        const std::uint8_t tone = row.Ctcss("cToneFreq");
        return {tone, tone};
    }
    if (mode == "dtcs") {
        const std::uint8_t code = row.Dcs("DtcsCode", polarity == "NN" ? 'N' : 'R');
        return {code, code};
    }
    if (mode == "cross") {
        const std::string cross = LowerAscii(row.Get("CrossMode"));
        const auto arrow = cross.find("->");
        const std::string txSide = arrow == std::string::npos ? cross : cross.substr(0, arrow);
        const std::string rxSide = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
        const std::set<std::string> sides = {"", "tone", "dtcs"};
        if (arrow == std::string::npos || !sides.contains(txSide) || !sides.contains(rxSide) ||
            (txSide.empty() && rxSide.empty())) {
            row.Note("CrossMode",
                     "cross mode '" + row.Get("CrossMode") + "' is not available; tones left off",
                     ImportNoteKind::TonesUnavailable, {row.Get("CrossMode")});
            return {};
        }
        TonePair pair;
        if (txSide == "tone") {
            pair.tx = row.Ctcss("rToneFreq");
        } else if (txSide == "dtcs") {
            pair.tx = row.Dcs("DtcsCode", polarity[0]);
        }
        if (rxSide == "tone") {
            pair.rx = row.Ctcss("cToneFreq");
        } else if (rxSide == "dtcs") {
            pair.rx = row.Dcs("RxDtcsCode", polarity[1]);
        }
        return pair;
    }
    row.Note("Tone", "tone mode '" + row.Get("Tone") + "' is not available; tones left off",
             ImportNoteKind::TonesUnavailable, {row.Get("Tone")});
    return {};
}

// A file row often restates what the channel already holds (an export read back in). Such a
// value is left as its bytes are, so that export then import keeps every byte: an off-step or
// oddly coded frequency, a tone byte past the table (shown as no tone), a wide bandwidth stored
// as something other than 1.
bool HoldsFrequency(const Channel& channel, std::uint32_t storedHertz, std::uint64_t hertz) {
    return !channel.IsEmpty() && storedHertz == hertz;
}

bool HoldsTone(std::uint8_t byte, std::uint8_t position) {
    return byte == position || (position == 0 && byte >= ToneTable::kSize);
}

// Sets the transmit frequency the Duplex and Offset columns give (the receive frequency has
// already set it to itself, unless the channel held the receive frequency already). False when
// the row is to be skipped.
bool ReadTransmit(const RowReader& row, std::uint64_t rxHertz, Channel& channel) {
    const std::string duplex = LowerAscii(row.Get("Duplex"));
    const auto sameAsReceive = [&channel] {
        if (channel.TxHertz() != channel.RxHertz()) {
            channel.SetTxHertz(channel.RxHertz());
        }
        return true;
    };
    if (duplex.empty()) {
        return sameAsReceive();
    }
    if (duplex == "off") {
        row.Note("Duplex", "transmit cannot be switched off on this radio; transmit = receive",
                 ImportNoteKind::TransmitIsReceive, {row.Get("Duplex")});
        return sameAsReceive();
    }
    if (duplex != "+" && duplex != "-" && duplex != "split") {
        row.Note("Duplex", "duplex '" + row.Get("Duplex") + "' is unknown; transmit = receive",
                 ImportNoteKind::TransmitIsReceive, {row.Get("Duplex")});
        return sameAsReceive();
    }
    const auto offset = row.Hertz("Offset");
    if (!offset) {
        return false;
    }
    std::uint64_t tx = *offset;
    if (duplex == "+") {
        tx = rxHertz + *offset;
    } else if (duplex == "-") {
        tx = *offset > rxHertz ? 0 : rxHertz - *offset;
    }
    if (!row.InBand("Offset", tx, channel.band())) {
        return false;
    }
    if (!HoldsFrequency(channel, channel.TxHertz(), tx)) {
        row.NoteCorrection("Offset", tx, channel.SetTxHertz(static_cast<std::uint32_t>(tx)));
    }
    return true;
}

// `restates`: the channel was in use before the row, so what it holds may be what the row says.
void StoreTones(const TonePair& tones, bool restates, Channel& channel) {
    const bool rxHeld = restates && HoldsTone(channel.rxTone(), tones.rx);
    const bool txHeld = restates && HoldsTone(channel.txTone(), tones.tx);
    if (!rxHeld) {
        channel.SetRxTone(tones.rx);  // sets the transmit tone too; the file's comes next
        channel.SetTxTone(tones.tx);
    } else if (!txHeld) {
        channel.SetTxTone(tones.tx);
    }
}

void StoreMode(const RowReader& row, bool restates, Channel& channel) {
    const std::string mode = row.Get("Mode");
    if (LowerAscii(mode) == "nfm") {
        if (channel.bandwidth() != Channel::kNarrow) {
            channel.SetBandwidth(Channel::kNarrow);
        }
    } else if (LowerAscii(mode) == "fm") {
        // Any byte but 0 shows as wide already.
        if (!restates || channel.bandwidth() == Channel::kNarrow) {
            channel.SetBandwidth(Channel::kWide);
        }
    } else if (!mode.empty()) {
        row.Note("Mode", "mode '" + mode + "' is not available (NFM or FM); bandwidth unchanged",
                 ImportNoteKind::ModeUnavailable, {mode});
    }
}

// Returns the channel stored, or nothing when the row was skipped.
std::optional<int> ImportRow(const RowReader& row, RadioImage& image) {
    const std::string location = row.Get("Location");
    const auto number = ParseScaledDecimal(location, 0);
    if (!number || location.find('.') != std::string::npos ||
        !IsValidChannel(static_cast<int>(std::min<std::uint64_t>(number->value, 999)))) {
        row.Note("Location", "location '" + location + "' is not a channel (1-20); row skipped",
                 ImportNoteKind::NotAChannel, {location});
        return std::nullopt;
    }
    Channel channel(image, static_cast<int>(number->value));
    const bool restates = !channel.IsEmpty();
    const auto rxHertz = row.Hertz("Frequency");
    if (!rxHertz || !row.InBand("Frequency", *rxHertz, channel.band())) {
        return std::nullopt;
    }
    if (!HoldsFrequency(channel, channel.RxHertz(), *rxHertz)) {
        row.NoteCorrection("Frequency", *rxHertz,
                           channel.SetRxHertz(static_cast<std::uint32_t>(*rxHertz)));
    }
    if (!ReadTransmit(row, *rxHertz, channel)) {
        return std::nullopt;
    }
    StoreTones(ReadTones(row), restates, channel);
    StoreMode(row, restates, channel);
    channel.StoreInto(image);
    return channel.number();
}

// Past the first hundred, more notes tell the user nothing new: one line says how many followed.
void SummariseNotes(std::vector<ImportNote>& notes) {
    if (notes.size() <= kCsvImportNoteLimit) {
        return;
    }
    const std::size_t more = notes.size() - kCsvImportNoteLimit;
    const int from = notes[kCsvImportNoteLimit].line;
    notes.resize(kCsvImportNoteLimit);
    notes.push_back({from,
                     "",
                     std::to_string(more) + " more notes from this line on are not shown",
                     ImportNoteKind::MoreNotes,
                     {std::to_string(more)}});
}

}  // namespace

CsvImport ImportChannelsCsv(const RadioImage& image, std::string_view csvText,
                            const CsvImportOptions& options) {
    CsvImport result{image, {}, {}, std::nullopt};
    // Refused before the table is built, so a hostile file costs one pass and no memory.
    const std::size_t lines =
        static_cast<std::size_t>(std::count(csvText.begin(), csvText.end(), '\n')) +
        (csvText.empty() || csvText.back() == '\n' ? 0 : 1);
    if (lines > kCsvImportLineLimit) {
        result.error = CsvError{static_cast<int>(kCsvImportLineLimit + 1),
                                "the file has more than " + std::to_string(kCsvImportLineLimit) +
                                    " lines, far more than any channel list"};
        return result;
    }
    const CsvTable table = ParseCsv(csvText);
    if (table.error) {
        result.error = table.error;
        return result;
    }
    if (table.rows.empty()) {
        result.error = CsvError{1, "the file holds no header row"};
        return result;
    }
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < table.rows[0].fields.size(); ++i) {
        columns.emplace(LowerAscii(Trimmed(table.rows[0].fields[i])), i);
    }
    for (const std::string_view needed : {"Location", "Frequency"}) {
        if (!columns.contains(LowerAscii(needed))) {
            result.error = CsvError{table.rows[0].line,
                                    "the header row has no " + std::string(needed) + " column"};
            return result;
        }
    }
    if (options.clearFirst) {
        for (int number = 1; number <= kChannelCount; ++number) {
            Channel channel(result.image, number);
            channel.Clear();
            channel.StoreInto(result.image);
        }
    }
    std::set<std::string_view> reported;
    for (std::size_t i = 1; i < table.rows.size(); ++i) {
        const RowReader row(columns, table.rows[i], result.notes);
        for (const std::string_view column : kNotStored) {
            if (!reported.contains(column) && !row.Get(column).empty()) {
                reported.insert(column);
                row.Note(column, "not stored: this radio has no place for it (reported once)",
                         ImportNoteKind::NotStored);
            }
        }
        if (const auto channel = ImportRow(row, result.image)) {
            if (std::find(result.channels.begin(), result.channels.end(), *channel) !=
                result.channels.end()) {
                row.Note("Location",
                         "channel " + std::to_string(*channel) +
                             " appears again; this later row is kept",
                         ImportNoteKind::ChannelRepeated, {std::to_string(*channel)});
            }
            result.channels.push_back(*channel);
        }
    }
    SummariseNotes(result.notes);
    return result;
}

std::string DescribeNote(const ImportNote& note) {
    return "line " + std::to_string(note.line) + (note.column.empty() ? "" : ", " + note.column) +
           ": " + note.message;
}

}  // namespace halyx
