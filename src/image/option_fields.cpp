#include "image/option_fields.h"

namespace halyx {

std::optional<int> ListPositionForByte(const ListField& field, std::uint8_t byte,
                                       std::size_t listSize) {
    const int position = static_cast<int>(byte) - field.bias;
    if (position < 0 || position >= static_cast<int>(listSize)) {
        return std::nullopt;
    }
    return position;
}

std::uint8_t ByteForListPosition(const ListField& field, int position) {
    return static_cast<std::uint8_t>(position + field.bias);
}

std::optional<int> TimeOutPositionForByte(const OptionList& timeOutList, std::uint8_t byte) {
    for (std::size_t i = 0; i < timeOutList.size(); ++i) {
        if (timeOutList[i].number == byte) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string BandwidthText(std::uint8_t byte) {
    return byte == 0 ? "12.5K" : "25K";
}

}  // namespace halyx
