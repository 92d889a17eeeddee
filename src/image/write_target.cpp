#include "image/write_target.h"

#include <algorithm>

#include "image/header_text.h"

namespace halyx {
namespace {

bool SameBytes(const RadioImage& a, const RadioImage& b, std::size_t offset, std::size_t size) {
    const auto from = static_cast<std::ptrdiff_t>(offset);
    const auto to = static_cast<std::ptrdiff_t>(offset + size);
    return std::equal(a.bytes.begin() + from, a.bytes.begin() + to, b.bytes.begin() + from);
}

void CopyBytes(const RadioImage& from, RadioImage& to, std::size_t offset, std::size_t size) {
    const auto start = static_cast<std::ptrdiff_t>(offset);
    std::copy_n(from.bytes.begin() + start, size, to.bytes.begin() + start);
}

}  // namespace

RadioBand BandOf(const RadioImage& image) {
    return image.bytes[header::kBand] == kLowBand ? RadioBand::Low : RadioBand::High;
}

std::string_view BandName(RadioBand band) {
    return band == RadioBand::Low ? "136-174 MHz" : "406.1-470 MHz";
}

WriteTarget CheckWriteTarget(const RadioImage& radio, const RadioImage& image) {
    WriteTarget target;
    target.radioBand = BandOf(radio);
    target.imageBand = BandOf(image);
    target.radioSerial = SerialNumberOf(radio);
    target.imageSerial = SerialNumberOf(image);
    target.radioUserId = UserIdOf(radio);
    target.imageUserId = UserIdOf(image);
    target.identityDiffers =
        !SameBytes(radio, image, header::kSerialNumber, header::kSerialNumberSize) ||
        !SameBytes(radio, image, header::kUserId, header::kUserIdSize);
    return target;
}

RadioImage WithIdentity(const RadioImage& image, const RadioImage& radio, IdentityChoice choice) {
    RadioImage result = image;
    if (choice == IdentityChoice::KeepRadios) {
        CopyBytes(radio, result, header::kSerialNumber, header::kSerialNumberSize);
        CopyBytes(radio, result, header::kUserId, header::kUserIdSize);
    }
    return result;
}

}  // namespace halyx
