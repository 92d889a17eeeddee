// Reads a configuration text with yaml-cpp. yaml-cpp reports malformed YAML by throwing; that is
// caught here and becomes a problem like any other, so nothing is thrown to the caller.
#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/parser.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <map>
#include <span>
#include <sstream>

#include "image/header_values.h"
#include "interchange/config_fields.h"
#include "interchange/config_text.h"
#include "interchange/hex_runs.h"

namespace halyx {
namespace {

using namespace config;

constexpr std::string_view kTopKeys[] = {"format",   "band",       "settings",
                                         "channels", "otherBytes", "imageLength"};
constexpr std::string_view kChannelKeys[] = {"channel", "empty",  "rxFrequency", "txFrequency",
                                             "rxTone",  "txTone", "bandwidth"};

std::string JoinKeys(std::span<const std::string_view> keys) {
    std::string out;
    for (const std::string_view key : keys) {
        out += (out.empty() ? "" : ", ") + std::string(key);
    }
    return out;
}

std::string Child(const std::string& path, std::string_view name) {
    return path.empty() ? std::string(name) : path + "." + std::string(name);
}

// A mapping's members by name, each with the line it starts on.
using Members = std::map<std::string, YAML::Node, std::less<>>;

// A channel entry as read, before the bytes are put in place.
struct ChannelEntry {
    int channel = 0;
    bool empty = false;
    std::array<std::optional<Bytes>, kChannelFields.size()> fields;
};

// Where the second document of a stream starts, if it holds anything. yaml-cpp's LoadAll() never
// ends on some malformed streams (a lone ","): its parser hands out empty documents forever
// without moving on. So the documents are counted here, never more than two.
class SecondDocument : public YAML::EventHandler {
public:
    static std::optional<YAML::Mark> Find(std::string_view text) {
        std::istringstream in{std::string(text)};
        YAML::Parser parser(in);
        SecondDocument handler;
        for (int i = 0; i < 2 && parser.HandleNextDocument(handler); ++i) {
        }
        return handler.found_;
    }

    void OnDocumentStart(const YAML::Mark&) override { ++documents_; }
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
    void OnAlias(const YAML::Mark& mark, YAML::anchor_t) override { Content(mark); }
    void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t,
                  const std::string&) override {
        Content(mark);
    }
    void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override {
        Content(mark);
    }
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override {
        Content(mark);
    }
    void OnMapEnd() override {}

private:
    void Content(const YAML::Mark& mark) {
        if (documents_ == 2 && !found_) {
            found_ = mark;
        }
    }

    int documents_ = 0;
    std::optional<YAML::Mark> found_;
};

struct OtherRun {
    std::size_t offset;
    Bytes bytes;
    int line;
    std::string path;
};

class ConfigReader {
public:
    explicit ConfigReader(const RadioImage* base) : base_(base) {}

    ConfigRead Read(std::string_view text);

private:
    int LineOf(const YAML::Node& node, int fallback) const {
        const YAML::Mark mark = node.Mark();
        return mark.is_null() ? fallback : mark.line + 1;
    }
    // Past this many, a text is surely no configuration: the rest is neither looked for nor
    // kept, so a text that repeats one mistake a million times (through aliases, say) cannot
    // take the reader's time or memory.
    static constexpr std::size_t kMaxProblems = 200;
    bool Overwhelmed() const { return problems_.size() >= kMaxProblems; }
    void Problem(int line, std::string path, std::string what, std::string accepted) {
        if (Overwhelmed()) {
            return;
        }
        problems_.push_back({line, std::move(path), std::move(what), std::move(accepted)});
    }

    std::optional<YAML::Node> Root(std::string_view text);
    Members MembersOf(const YAML::Node& map, const std::string& path, int line,
                      std::span<const std::string_view> known);
    std::optional<Bytes> FieldValue(const YAML::Node& node, const FieldSpec& field,
                                    const std::string& path, int line, BandContext band);
    void ReadFormat(const Members& top);
    void ReadBand(const Members& top);
    void ReadLength(const Members& top);
    void ReadSettings(const Members& top);
    void ReadChannels(const Members& top);
    void ReadChannel(const YAML::Node& node, std::size_t index);
    void ReadOtherBytes(const Members& top);
    void CheckOtherRuns();
    RadioImage Assemble() const;

    const RadioImage* base_;
    std::vector<ConfigProblem> problems_;
    std::optional<std::uint8_t> band_;
    BandContext bandContext_;
    std::uint16_t length_ = 0;
    std::vector<std::pair<const FieldSpec*, Bytes>> settings_;
    std::array<std::optional<ChannelEntry>, kChannelCount> channels_;
    std::array<int, kChannelCount> channelLines_{};
    std::vector<OtherRun> otherRuns_;
    std::size_t otherTotal_ = 0;
};

std::optional<YAML::Node> ConfigReader::Root(std::string_view text) {
    YAML::Node root;
    std::optional<YAML::Mark> second;
    try {
        root = YAML::Load(std::string(text));
        second = SecondDocument::Find(text);
    } catch (const YAML::Exception& error) {
        Problem(error.mark.is_null() ? 1 : error.mark.line + 1, "",
                "not readable as YAML (" + error.msg + ")", "a YAML 1.2 text in UTF-8");
        return std::nullopt;
    }
    if (root.IsNull()) {
        Problem(1, "", "no configuration could be read from the text",
                "a mapping that starts with format: " + std::string(kConfigFormatName));
        return std::nullopt;
    }
    if (second) {
        Problem(second->line + 1, "", "a second YAML document", "one document per file");
    }
    if (!root.IsMap()) {
        Problem(LineOf(root, 1), "", "the text is not a mapping of keys",
                "format, band, settings, channels, otherBytes, imageLength");
        return std::nullopt;
    }
    return root;
}

Members ConfigReader::MembersOf(const YAML::Node& map, const std::string& path, int line,
                                std::span<const std::string_view> known) {
    Members members;
    std::map<std::string, int, std::less<>> firstLines;
    for (auto it = map.begin(); it != map.end() && !Overwhelmed(); ++it) {
        const int keyLine = LineOf(it->first, line);
        if (!it->first.IsScalar()) {
            Problem(keyLine, path, "a key that is not a name", JoinKeys(known));
            continue;
        }
        const std::string name = it->first.Scalar();
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            Problem(keyLine, Child(path, name), "unknown key", JoinKeys(known));
        } else if (const auto first = firstLines.find(name); first != firstLines.end()) {
            Problem(keyLine, Child(path, name),
                    "given twice (first on line " + std::to_string(first->second) + ")",
                    "each key once");
        } else {
            firstLines.emplace(name, keyLine);
            members.emplace(name, it->second);
        }
    }
    return members;
}

std::optional<Bytes> ConfigReader::FieldValue(const YAML::Node& node, const FieldSpec& field,
                                              const std::string& path, int line, BandContext band) {
    line = LineOf(node, line);
    const std::string rawAccepted = "{raw: \"HH ...\"} with " + std::to_string(field.size) +
                                    (field.size == 1 ? " byte" : " bytes");
    if (node.IsMap()) {
        const Members raw = MembersOf(node, path, line, std::array<std::string_view, 1>{"raw"});
        const auto value = raw.find("raw");
        if (value == raw.end()) {
            if (node.size() == 0) {
                Problem(line, path, "an empty mapping", rawAccepted);
            }
            return std::nullopt;
        }
        const auto bytes =
            value->second.IsScalar() ? ParseHexRun(value->second.Scalar()) : std::nullopt;
        if (!bytes || bytes->size() != field.size) {
            Problem(LineOf(value->second, line), Child(path, "raw"),
                    bytes ? "holds " + std::to_string(bytes->size()) + " bytes"
                          : "not a run of hex bytes",
                    rawAccepted);
            return std::nullopt;
        }
        return bytes;
    }
    if (!node.IsScalar()) {
        Problem(line, path, node.IsSequence() ? "a list where a value belongs" : "no value",
                AcceptedFor(field, band));
        return std::nullopt;
    }
    FieldParse parsed = ParseField(field, node.Scalar(), band);
    if (const Refusal* refusal = std::get_if<Refusal>(&parsed)) {
        Problem(line, path, refusal->what, refusal->accepted);
        return std::nullopt;
    }
    return std::get<Bytes>(std::move(parsed));
}

void ConfigReader::ReadFormat(const Members& top) {
    const auto format = top.find("format");
    const std::string accepted = "format: " + std::string(kConfigFormatName);
    if (format == top.end()) {
        Problem(1, "format", "missing: this is not known to be a Halyx configuration", accepted);
    } else if (!format->second.IsScalar() || format->second.Scalar() != kConfigFormatName) {
        Problem(LineOf(format->second, 1), "format",
                format->second.IsScalar() ? "\"" + format->second.Scalar() +
                                                "\" is not a format"
                                                " this Halyx reads"
                                          : "no format name",
                accepted);
    }
}

void ConfigReader::ReadBand(const Members& top) {
    const auto band = top.find("band");
    if (band == top.end()) {
        if (base_ == nullptr) {
            Problem(1, "band", "missing", AcceptedFor(kBandField, std::nullopt));
        } else {
            band_ = base_->bytes[header::kBand];
            bandContext_ = band_;
        }
        return;
    }
    if (const auto bytes = FieldValue(band->second, kBandField, "band", 1, std::nullopt)) {
        band_ = bytes->front();
        bandContext_ = band_;
    }
}

void ConfigReader::ReadLength(const Members& top) {
    length_ = base_ != nullptr ? base_->length : static_cast<std::uint16_t>(kImageSize);
    const auto length = top.find("imageLength");
    if (length == top.end()) {
        return;
    }
    const auto value = length->second.IsScalar()
                           ? ParseNumberIn(length->second.Scalar(), 0, static_cast<int>(kImageSize))
                           : std::nullopt;
    if (!value) {
        Problem(LineOf(length->second, 1), "imageLength",
                length->second.IsScalar() ? "\"" + length->second.Scalar() + "\" is not a length"
                                          : "no length",
                "0.." + std::to_string(kImageSize));
        return;
    }
    length_ = static_cast<std::uint16_t>(*value);
}

void ConfigReader::ReadSettings(const Members& top) {
    const auto settings = top.find("settings");
    if (settings == top.end() || !settings->second.IsMap()) {
        if (settings != top.end() || base_ == nullptr) {
            const int line = settings == top.end() ? 1 : LineOf(settings->second, 1);
            Problem(line, "settings", settings == top.end() ? "missing" : "not a mapping",
                    "a mapping of the common settings");
        }
        return;
    }
    std::vector<std::string_view> names;
    for (const FieldSpec& field : kSettingFields) {
        names.push_back(field.name);
    }
    const int line = LineOf(settings->second, 1);
    const Members members = MembersOf(settings->second, "settings", line, names);
    for (const FieldSpec& field : kSettingFields) {
        const std::string path = Child("settings", field.name);
        const auto member = members.find(field.name);
        if (member == members.end()) {
            if (base_ == nullptr) {
                Problem(line, path, "missing", AcceptedFor(field, std::nullopt));
            }
            continue;
        }
        if (auto bytes = FieldValue(member->second, field, path, line, std::nullopt)) {
            settings_.emplace_back(&field, std::move(*bytes));
        }
    }
}

void ConfigReader::ReadChannels(const Members& top) {
    const auto channels = top.find("channels");
    if (channels == top.end() || !channels->second.IsSequence()) {
        Problem(channels == top.end() ? 1 : LineOf(channels->second, 1), "channels",
                channels == top.end() ? "missing" : "not a list",
                "a list of channels such as {channel: 1, empty: true}");
        return;
    }
    for (std::size_t i = 0; i < channels->second.size() && !Overwhelmed(); ++i) {
        ReadChannel(channels->second[i], i);
    }
}

void ConfigReader::ReadChannel(const YAML::Node& node, std::size_t index) {
    const int line = LineOf(node, 1);
    std::string path = "channels[entry " + std::to_string(index + 1) + "]";
    if (!node.IsMap()) {
        Problem(line, path, "not a mapping", "{channel: N, ...}");
        return;
    }
    const Members members = MembersOf(node, path, line, kChannelKeys);
    ChannelEntry entry;
    const auto number = members.find("channel");
    const auto channel = number != members.end() && number->second.IsScalar()
                             ? ParseNumberIn(number->second.Scalar(), 1, kChannelCount)
                             : std::nullopt;
    if (!channel) {
        Problem(number == members.end() ? line : LineOf(number->second, line),
                Child(path, "channel"),
                number == members.end() ? "missing" : "not a channel number", "1..20");
        return;
    }
    entry.channel = *channel;
    path = "channels[" + std::to_string(entry.channel) + "]";
    int& firstLine = channelLines_[static_cast<std::size_t>(entry.channel - 1)];
    if (firstLine != 0) {
        Problem(LineOf(number->second, line), Child(path, "channel"),
                "channel " + std::to_string(entry.channel) + " is given twice (first on line " +
                    std::to_string(firstLine) + ")",
                "each channel once");
        return;
    }
    firstLine = line;
    if (const auto empty = members.find("empty"); empty != members.end()) {
        const std::string value =
            empty->second.IsScalar() ? LowerAscii(empty->second.Scalar()) : "";
        if (value != "true" && value != "false") {
            Problem(LineOf(empty->second, line), Child(path, "empty"), "not true or false",
                    "true or false");
            return;
        }
        entry.empty = value == "true";
    }
    for (std::size_t i = 0; i < kChannelFields.size(); ++i) {
        const FieldSpec& field = kChannelFields[i];
        const std::string fieldPath = Child(path, field.name);
        const auto member = members.find(field.name);
        if (member == members.end()) {
            if (!entry.empty) {
                Problem(line, fieldPath, "missing", AcceptedFor(field, bandContext_));
            }
            continue;
        }
        if (entry.empty && i != kRxFrequencyIndex) {
            Problem(LineOf(member->second, line), fieldPath, "given for an empty channel",
                    "{channel: " + std::to_string(entry.channel) +
                        ", empty: true} alone, or a channel without empty: true");
            continue;
        }
        entry.fields[i] = FieldValue(member->second, field, fieldPath, line, bandContext_);
    }
    const auto& rx = entry.fields[kRxFrequencyIndex];
    if (rx && IsEmptyReceiveFrequency(*rx) != entry.empty) {
        Problem(
            LineOf(members.find("rxFrequency")->second, line), Child(path, "rxFrequency"),
            entry.empty ? "not an empty channel's receive frequency" : "makes the channel empty",
            entry.empty ? "{raw: \"FF FF ...\"} or {raw: \"00 00 00 00\"}"
                        : "{channel: " + std::to_string(entry.channel) + ", empty: true}");
    }
    channels_[static_cast<std::size_t>(entry.channel - 1)] = std::move(entry);
}

void ConfigReader::ReadOtherBytes(const Members& top) {
    const auto other = top.find("otherBytes");
    if (other == top.end()) {
        return;
    }
    const int line = LineOf(other->second, 1);
    if (!other->second.IsMap()) {
        Problem(line, "otherBytes", "not a mapping", "offset: \"hex bytes\" entries");
        return;
    }
    for (auto it = other->second.begin(); it != other->second.end() && !Overwhelmed(); ++it) {
        const int keyLine = LineOf(it->first, line);
        const std::string key = it->first.IsScalar() ? it->first.Scalar() : "?";
        const std::string path = Child("otherBytes", key);
        const auto offset = ParseNumberIn(key, 0, static_cast<int>(kImageSize) - 1);
        if (!offset) {
            Problem(keyLine, path, "not an offset", "0.." + std::to_string(kImageSize - 1));
            continue;
        }
        const auto bytes = it->second.IsScalar() ? ParseHexRun(it->second.Scalar()) : std::nullopt;
        if (!bytes) {
            Problem(LineOf(it->second, keyLine), path, "not a run of hex bytes",
                    std::string(kHexRunAccepted));
            continue;
        }
        // Runs that do not overlap add up to the image at most; past that some must overlap,
        // and the rest is not kept.
        otherTotal_ += bytes->size();
        if (otherTotal_ > kImageSize) {
            Problem(keyLine, path, "the runs so far give more bytes than the image holds",
                    "each byte once");
            return;
        }
        otherRuns_.push_back({static_cast<std::size_t>(*offset), *bytes, keyLine, path});
    }
}

// Runs may not reach past the image, into a named field, or over each other; they are checked
// once every channel is known, since an empty channel's field bytes are other bytes.
void ConfigReader::CheckOtherRuns() {
    EmptyChannels empty{};
    for (std::size_t i = 0; i < empty.size(); ++i) {
        empty[i] = !channels_[i] || channels_[i]->empty;
    }
    std::array<int, kImageSize> givenOnLine{};
    for (const OtherRun& run : otherRuns_) {
        for (std::size_t i = 0; i < run.bytes.size(); ++i) {
            const std::size_t at = run.offset + i;
            const std::string where = "byte " + std::to_string(at);
            if (at >= kImageSize) {
                Problem(run.line, run.path, "runs past the end of the image at " + where,
                        "bytes 0.." + std::to_string(kImageSize - 1));
            } else if (const auto field = FieldPathAt(at, empty)) {
                Problem(run.line, run.path, where + " is " + *field,
                        "bytes no field covers; give " + *field + " by its name");
            } else if (at >= kRecordsEnd && at >= length_) {
                Problem(run.line, run.path,
                        where + " lies beyond imageLength " + std::to_string(length_) +
                            ", so no image file would hold it",
                        "bytes below the image length");
            } else if (givenOnLine[at] != 0) {
                Problem(run.line, run.path,
                        where + " is also given on line " + std::to_string(givenOnLine[at]),
                        "each byte once");
            } else {
                givenOnLine[at] = run.line;
                continue;
            }
            break;  // one problem per run is enough to find it
        }
    }
}

RadioImage ConfigReader::Assemble() const {
    RadioImage image;
    if (base_ != nullptr) {
        image = *base_;
    } else {
        image.bytes.fill(0xFF);  // erased memory, as a radio holds where nothing was written
    }
    image.length = length_;
    for (const OtherRun& run : otherRuns_) {
        std::copy(run.bytes.begin(), run.bytes.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(run.offset));
    }
    if (band_) {
        image.bytes[header::kBand] = *band_;
    }
    for (const auto& [field, bytes] : settings_) {
        std::copy(bytes.begin(), bytes.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(field->offset));
    }
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const auto& entry = channels_[static_cast<std::size_t>(channel - 1)];
        const auto start = image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel));
        const FieldSpec& rx = kChannelFields[kRxFrequencyIndex];
        // A channel the text leaves out, or marks empty without saying how, is erased.
        std::fill_n(start + static_cast<std::ptrdiff_t>(rx.offset), rx.size, 0xFF);
        if (!entry) {
            continue;
        }
        for (std::size_t i = 0; i < kChannelFields.size(); ++i) {
            if (const auto& bytes = entry->fields[i]) {
                std::copy(bytes->begin(), bytes->end(),
                          start + static_cast<std::ptrdiff_t>(kChannelFields[i].offset));
            }
        }
    }
    return image;
}

ConfigRead ConfigReader::Read(std::string_view text) {
    const auto root = Root(text);
    if (!root) {
        return {RadioImage{}, std::move(problems_)};
    }
    const Members top = MembersOf(*root, "", 1, kTopKeys);
    ReadFormat(top);
    ReadBand(top);
    ReadLength(top);
    ReadSettings(top);
    ReadChannels(top);
    ReadOtherBytes(top);
    CheckOtherRuns();
    if (!problems_.empty()) {
        const bool overwhelmed = Overwhelmed();
        std::stable_sort(
            problems_.begin(), problems_.end(),
            [](const ConfigProblem& a, const ConfigProblem& b) { return a.line < b.line; });
        if (overwhelmed) {
            problems_.push_back({problems_.back().line, "",
                                 "more problems than these " + std::to_string(kMaxProblems) +
                                     "; the rest of the text was not read",
                                 ""});
        }
        return {RadioImage{}, std::move(problems_)};
    }
    return {Assemble(), {}};
}

}  // namespace

ConfigRead ReadConfigText(std::string_view text, const RadioImage* base) {
    return ConfigReader(base).Read(text);
}

std::string DescribeConfigProblem(std::string_view file, const ConfigProblem& problem) {
    std::string out = std::string(file) + ":" + std::to_string(problem.line) + ": ";
    if (!problem.path.empty()) {
        out += problem.path + ": ";
    }
    out += problem.what;
    if (!problem.accepted.empty()) {
        out += ", accepted: " + problem.accepted;
    }
    return out;
}

}  // namespace halyx
