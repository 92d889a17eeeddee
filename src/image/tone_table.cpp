#include "image/tone_table.h"

#include <array>
#include <cctype>

namespace halyx {
namespace {

// Radios in the field store positions into this exact order: 233.6 stands before 229.1.
constexpr std::array<const char*, 50> kCtcssTones = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "233.6", "229.1", "241.8", "250.3", "254.1"};

constexpr std::array<const char*, 104> kDcsCodes = {
    "D023N", "D025N", "D026N", "D031N", "D032N", "D036N", "D043N", "D047N", "D051N", "D053N",
    "D054N", "D065N", "D071N", "D072N", "D073N", "D074N", "D114N", "D115N", "D116N", "D122N",
    "D125N", "D131N", "D132N", "D134N", "D143N", "D145N", "D152N", "D155N", "D156N", "D162N",
    "D165N", "D172N", "D174N", "D205N", "D212N", "D223N", "D225N", "D226N", "D243N", "D244N",
    "D245N", "D246N", "D251N", "D252N", "D255N", "D261N", "D263N", "D265N", "D266N", "D271N",
    "D274N", "D306N", "D311N", "D315N", "D325N", "D331N", "D332N", "D343N", "D346N", "D351N",
    "D356N", "D364N", "D365N", "D371N", "D411N", "D412N", "D413N", "D423N", "D431N", "D432N",
    "D445N", "D446N", "D452N", "D454N", "D455N", "D462N", "D464N", "D465N", "D466N", "D503N",
    "D506N", "D516N", "D523N", "D526N", "D532N", "D546N", "D565N", "D606N", "D612N", "D624N",
    "D627N", "D631N", "D632N", "D654N", "D662N", "D664N", "D703N", "D712N", "D723N", "D731N",
    "D732N", "D734N", "D743N", "D754N"};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::size_t> ToneTable::find(std::string_view text) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (EqualsIgnoringCase(entries_[i], text)) {
            return i;
        }
    }
    return std::nullopt;
}

void BuildToneTable(ToneTable& table, const std::string& noToneText) {
    table.entries_.clear();
    table.entries_.reserve(ToneTable::kSize);
    table.entries_.push_back(noToneText);
    table.entries_.insert(table.entries_.end(), kCtcssTones.begin(), kCtcssTones.end());
    table.entries_.insert(table.entries_.end(), kDcsCodes.begin(), kDcsCodes.end());
}

const std::string& ToneText(const ToneTable& table, std::uint8_t toneByte) {
    static const std::string kNone;
    if (table.size() == 0) {
        return kNone;
    }
    return toneByte < table.size() ? table.text(toneByte) : table.text(0);
}

}  // namespace halyx
