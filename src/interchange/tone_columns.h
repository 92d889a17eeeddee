#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// A channel's two tone bytes as the CSV tone columns describe them: a mode naming which of the
// columns count, and the columns themselves (unused ones hold the usual placeholders).
struct ToneColumns {
    std::string tone;  // "", "Tone", "TSQL", "DTCS" or "Cross"
    std::string rToneFreq, cToneFreq, dtcsCode, dtcsPolarity, rxDtcsCode, crossMode;
};

ToneColumns ToneColumnsFor(std::uint8_t rxTone, std::uint8_t txTone);

// Tone-table position of a CTCSS tone given in hertz ("88.5", "088.50"), compared as numbers.
std::optional<std::uint8_t> CtcssPosition(std::string_view hertz);
// Tone-table position of a DCS code given by its digits ("23", "023"), normal polarity.
std::optional<std::uint8_t> DcsPosition(std::string_view code);

enum class ToneKind { None, Ctcss, Dcs };
// Bytes past the tone table show as no tone, so they count as none here too.
ToneKind KindOfTone(std::uint8_t toneByte);

}  // namespace halyx
