// The main form on the page: the channel grid and the common settings. Each call goes to the
// function the desktop's form or command line uses for the same act.
#include <emscripten/bind.h>

#include <string>

#include "cli/image_edits.h"
#include "image/header_values.h"
#include "image/option_fields.h"
#include "image/option_lists.h"
#include "image/working_copies.h"
#include "interchange/image_texts.h"
#include "web/core/bindings.h"
#include "web/core/js_values.h"
#include "web/core/web_session.h"

namespace halyx::web {
namespace {

using emscripten::val;

// Grid columns as the desktop numbers them.
constexpr int kRxColumn = 1;
constexpr int kRxToneColumn = 3;
constexpr int kTxToneColumn = 4;
constexpr int kBandwidthColumn = 5;

val Headings(const WebSession& s) {
    return ToStringArray(ChannelHeadings(s.Texts()));
}

val Rows(const WebSession& s) {
    val rows = val::array();
    for (const ChannelCells& cells : ChannelRows(s.image(), s.Texts())) {
        rows.call<void>("push", ToStringArray(cells));
    }
    return rows;
}

val ToneTexts(const WebSession& s) {
    return ToStringArray(s.tones().entries());
}

val BandwidthTexts(const WebSession&) {
    return ToStringArray(EntryTexts(BandwidthList()));
}

// A cell's new value goes through the same edits `halyx-cli set` makes, which store the way the
// grid does: receive frequency and receive tone also set their transmit twins.
bool CommitCell(WebSession& s, int channel, int column, const std::string& value) {
    static const char* const kOptions[] = {"",          "--rx",      "--tx",
                                           "--rx-tone", "--tx-tone", "--bandwidth"};
    if (!IsValidChannel(channel) || column < kRxColumn || column > kBandwidthColumn) {
        return false;
    }
    bool refused = false;
    s.Edit([&](RadioImage& image) {
        refused =
            cli::ApplyEdits({{"--channel", std::to_string(channel)}, {kOptions[column], value}},
                            s.tones(), image)
                .has_value();
    });
    return !refused;
}

bool CommitCellChoice(WebSession& s, int channel, int column, int position) {
    if (column == kRxToneColumn || column == kTxToneColumn) {
        if (position < 0 || static_cast<std::size_t>(position) >= s.tones().size()) {
            return false;
        }
        return CommitCell(s, channel, column, s.tones().text(static_cast<std::size_t>(position)));
    }
    const OptionList bandwidths = BandwidthList();
    if (column != kBandwidthColumn || position < 0 ||
        static_cast<std::size_t>(position) >= bandwidths.size()) {
        return false;
    }
    return CommitCell(s, channel, column, bandwidths[static_cast<std::size_t>(position)].text);
}

// A list of the settings panel: its entries and the entry the image selects (-1: none; null:
// leave the list as it was, the time-out list's rule for a value it does not hold).
val PanelList(const OptionList& list, std::optional<int> position, bool keepWhenUnmatched) {
    val entry = val::object();
    entry.set("entries", ToStringArray(EntryTexts(list)));
    if (position) {
        entry.set("selected", *position);
    } else {
        entry.set("selected", keepWhenUnmatched ? val::null() : val(-1));
    }
    return entry;
}

struct PanelField {
    const char* name;
    ListField field;
    OptionList (*list)(const TextLookup&);
};

OptionList Squelch(const TextLookup&) {
    return SquelchList();
}
OptionList Channels(const TextLookup&) {
    return SettingsChannelList();
}

const PanelField kPanelFields[] = {
    {"voxLevel", kVoxField, VoxList},
    {"squelchLevel", kSquelchField, Squelch},
    {"settingsChannel", kSettingsChannelField, Channels},
    {"language", kLanguageField, LanguageList},
    {"txPower", kTxPowerField, TxPowerList},
};

val Panel(const WebSession& s) {
    const TextLookup lang = [&s](std::string_view key) { return s.LangString(std::string(key)); };
    HeaderCopy h;
    LoadHeaderCopy(s.image(), h);
    val panel = val::object();
    panel.set("band", PanelList(BandList(), 0, false));  // shown only, whatever the byte holds
    const OptionList timeOuts = TimeOutList(lang);
    panel.set("timeOut",
              PanelList(timeOuts, TimeOutPositionForByte(timeOuts, h.at(header::kTimeOut)), true));
    for (const PanelField& f : kPanelFields) {
        const OptionList list = f.list(lang);
        panel.set(f.name,
                  PanelList(list, ListPositionForByte(f.field, h.at(f.field.offset), list.size()),
                            false));
    }
    panel.set("scramble", IsCheckedByte(h.at(header::kScramble)));
    panel.set("compand", IsCheckedByte(h.at(header::kCompand)));
    panel.set("serialNumber", h.text(header::kSerialNumber, header::kSerialNumberSize));
    panel.set("userId", h.text(header::kUserId, header::kUserIdSize));
    return panel;
}

// Header edits go through the header working copy, one field at a time, as the panel does.
template <typename Change>
bool EditHeader(WebSession& s, Change&& change) {
    return s.Edit([&](RadioImage& image) {
        HeaderCopy copy;
        LoadHeaderCopy(image, copy);
        change(copy);
        StoreHeaderCopy(copy, image);
    });
}

bool SetPanelChoice(WebSession& s, const std::string& name, int position) {
    if (name == "timeOut") {
        const OptionList timeOuts = TimeOutList([](std::string_view) { return std::string(); });
        if (position < 0 || static_cast<std::size_t>(position) >= timeOuts.size()) {
            return false;
        }
        const auto number = static_cast<std::uint8_t>(timeOuts[position].number);
        return EditHeader(s, [&](HeaderCopy& c) { c.set(header::kTimeOut, number); });
    }
    for (const PanelField& f : kPanelFields) {
        if (name == f.name && position >= 0) {
            const std::uint8_t byte = ByteForListPosition(f.field, position);
            return EditHeader(s, [&](HeaderCopy& c) { c.set(f.field.offset, byte); });
        }
    }
    return false;
}

bool SetPanelCheck(WebSession& s, const std::string& name, bool checked) {
    const std::size_t offset = name == "scramble" ? header::kScramble : header::kCompand;
    return EditHeader(s, [&](HeaderCopy& c) { c.set(offset, checked ? 1 : 0); });
}

bool AcceptsSerialNumber(const std::string& text) {
    return IsSerialNumberValue(text);
}

bool AcceptsUserId(const std::string& text) {
    return IsUserIdValue(text);
}

bool SetPanelText(WebSession& s, const std::string& name, const std::string& text) {
    if (name == "serialNumber" && IsSerialNumberValue(text)) {
        return EditHeader(s, [&](HeaderCopy& c) {
            c.setText(header::kSerialNumber, header::kSerialNumberSize, text);
        });
    }
    if (name == "userId" && IsUserIdValue(text)) {
        return EditHeader(
            s, [&](HeaderCopy& c) { c.setText(header::kUserId, header::kUserIdSize, text); });
    }
    return false;
}

}  // namespace

void AddFormFunctions(emscripten::class_<WebSession>& session) {
    session.function("headings", &Headings)
        .function("rows", &Rows)
        .function("toneTexts", &ToneTexts)
        .function("bandwidthTexts", &BandwidthTexts)
        .function("commitCell", &CommitCell)
        .function("commitCellChoice", &CommitCellChoice)
        .function("panel", &Panel)
        .function("setPanelChoice", &SetPanelChoice)
        .function("setPanelCheck", &SetPanelCheck)
        .function("setPanelText", &SetPanelText);
}

EMSCRIPTEN_BINDINGS(halyx_form) {
    emscripten::function("acceptsSerialNumber", &AcceptsSerialNumber);
    emscripten::function("acceptsUserId", &AcceptsUserId);
}

}  // namespace halyx::web
