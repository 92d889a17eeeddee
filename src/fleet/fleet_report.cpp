#include "fleet/fleet_report.h"

#include "fleet/fleet_overrides.h"

#include <algorithm>

namespace halyx {
namespace {

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
        case FleetResult::OtherBand:
            return "other-band";
    }
    return "cancelled";
}

RadioImage BuildRadioImage(const RadioImage& fleetImage, const RadioImage& radioRead,
                           const RadioOverrides& overrides) {
    RadioImage image = fleetImage;
    // The identity fields are copied byte for byte, so a radio keeps exactly what it held, even
    // bytes after a zero that a text would not carry; an override then replaces them.
    CopyHeaderField(radioRead, image, header::kSerialNumber, header::kSerialNumberSize);
    CopyHeaderField(radioRead, image, header::kUserId, header::kUserIdSize);
    CommonSettings settings(image);
    ApplyOverrides(overrides, settings);
    settings.StoreInto(image);
    return image;
}

}  // namespace halyx
