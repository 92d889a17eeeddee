#include "fleet/fleet_report.h"

#include <algorithm>

namespace halyx {
namespace {

void PutHeaderText(RadioImage& image, std::size_t offset, std::size_t size, std::string_view text) {
    // A shorter text is followed by zero bytes, as the settings panel stores it.
    const std::size_t n = std::min(size, text.size());
    auto field = image.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    std::copy_n(text.begin(), n, field);
    std::fill(field + static_cast<std::ptrdiff_t>(n), field + static_cast<std::ptrdiff_t>(size),
              std::uint8_t{0});
}

void CopyHeaderField(const RadioImage& from, RadioImage& to, std::size_t offset, std::size_t size) {
    const auto at = static_cast<std::ptrdiff_t>(offset);
    std::copy_n(from.bytes.begin() + at, size, to.bytes.begin() + at);
}

}  // namespace

std::string_view FleetResultName(FleetResult result) {
    switch (result) {
        case FleetResult::Success:
            return "success";
        case FleetResult::LinkFailure:
            return "link-failure";
        case FleetResult::ReadBackDiffers:
            return "read-back-differs";
        case FleetResult::PortError:
            return "port-error";
        case FleetResult::BackupError:
            return "backup-error";
        case FleetResult::Cancelled:
            return "cancelled";
    }
    return "cancelled";
}

RadioImage BuildRadioImage(const RadioImage& fleetImage, const RadioImage& radioRead,
                           const RadioOverrides& overrides) {
    RadioImage image = fleetImage;
    // The identity fields are copied byte for byte, so a radio keeps exactly what it held, even
    // bytes after a zero that a text would not carry.
    if (overrides.serialNumber) {
        PutHeaderText(image, header::kSerialNumber, header::kSerialNumberSize,
                      *overrides.serialNumber);
    } else {
        CopyHeaderField(radioRead, image, header::kSerialNumber, header::kSerialNumberSize);
    }
    if (overrides.userId) {
        PutHeaderText(image, header::kUserId, header::kUserIdSize, *overrides.userId);
    } else {
        CopyHeaderField(radioRead, image, header::kUserId, header::kUserIdSize);
    }
    const auto put = [&image](std::size_t offset, const std::optional<std::uint8_t>& value) {
        if (value) {
            image.bytes[offset] = *value;
        }
    };
    put(header::kSquelchLevel, overrides.squelchLevel);
    put(header::kTimeOut, overrides.timeOut);
    put(header::kVoxLevel, overrides.voxLevel);
    put(header::kTxPower, overrides.txPower);
    return image;
}

}  // namespace halyx
