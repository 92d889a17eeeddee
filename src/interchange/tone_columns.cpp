#include "interchange/tone_columns.h"

#include "image/tone_table.h"
#include "interchange/csv_columns.h"
#include "interchange/decimal_text.h"

namespace halyx {
namespace {

constexpr int kToneDecimals = 1;
constexpr std::size_t kDcsDigits = 3;

// Only the CTCSS and DCS entries are used here, and those carry no language.
const ToneTable& Tones() {
    static const ToneTable table = [] {
        ToneTable built;
        BuildToneTable(built, "");
        return built;
    }();
    return table;
}

// "D023N" -> "023".
std::string DcsDigits(std::uint8_t position) {
    return Tones().text(position).substr(1, kDcsDigits);
}

}  // namespace

ToneKind KindOfTone(std::uint8_t toneByte) {
    if (toneByte >= ToneTable::kFirstDcs && toneByte < ToneTable::kSize) {
        return ToneKind::Dcs;
    }
    if (toneByte >= ToneTable::kFirstCtcss && toneByte < ToneTable::kFirstDcs) {
        return ToneKind::Ctcss;
    }
    return ToneKind::None;
}

std::optional<std::uint8_t> CtcssPosition(std::string_view hertz) {
    const auto wanted = ParseScaledDecimal(hertz, kToneDecimals);
    if (!wanted || !wanted->exact) {
        return std::nullopt;
    }
    for (std::size_t i = ToneTable::kFirstCtcss; i < ToneTable::kFirstDcs; ++i) {
        if (ParseScaledDecimal(Tones().text(i), kToneDecimals)->value == wanted->value) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> DcsPosition(std::string_view code) {
    const auto number = ParseScaledDecimal(code, 0);
    if (!number || code.find('.') != std::string_view::npos || number->value > 999) {
        return std::nullopt;
    }
    std::string digits = std::to_string(number->value);
    digits = std::string(kDcsDigits - digits.size(), '0') + digits;
    const auto position = Tones().find("D" + digits + "N");
    if (!position) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*position);
}

ToneColumns ToneColumnsFor(std::uint8_t rxTone, std::uint8_t txTone) {
    ToneColumns c{"",
                  std::string(csv::kPlaceholderTone),
                  std::string(csv::kPlaceholderTone),
                  std::string(csv::kPlaceholderCode),
                  std::string(csv::kPlaceholderPolarity),
                  std::string(csv::kPlaceholderCode),
                  std::string(csv::kPlaceholderCrossMode)};
    const ToneKind rx = KindOfTone(rxTone);
    const ToneKind tx = KindOfTone(txTone);
    if (rx == ToneKind::None && tx == ToneKind::None) {
        return c;
    }
    // Transmit CTCSS travels in rToneFreq, receive CTCSS in cToneFreq, transmit DCS in DtcsCode
    // and receive DCS in RxDtcsCode; the simple modes cover the common pairs.
    if (tx == ToneKind::Ctcss) {
        c.rToneFreq = Tones().text(txTone);
    } else if (tx == ToneKind::Dcs) {
        c.dtcsCode = DcsDigits(txTone);
    }
    if (rx == ToneKind::Ctcss) {
        c.cToneFreq = Tones().text(rxTone);
    } else if (rx == ToneKind::Dcs) {
        c.rxDtcsCode = DcsDigits(rxTone);
    }
    if (rx == ToneKind::None && tx == ToneKind::Ctcss) {
        c.tone = "Tone";
        return c;
    }
    if (rxTone == txTone && rx == ToneKind::Ctcss) {
        c.tone = "TSQL";
        c.rToneFreq = std::string(csv::kPlaceholderTone);
        return c;
    }
    if (rxTone == txTone && rx == ToneKind::Dcs) {
        c.tone = "DTCS";
        c.rxDtcsCode = std::string(csv::kPlaceholderCode);
        return c;
    }
    const auto side = [](ToneKind kind) {
        return kind == ToneKind::Ctcss ? "Tone" : kind == ToneKind::Dcs ? "DTCS" : "";
    };
    c.tone = "Cross";
    c.crossMode = std::string(side(tx)) + "->" + side(rx);
    return c;
}

}  // namespace halyx
