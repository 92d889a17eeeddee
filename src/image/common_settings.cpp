#include "image/common_settings.h"

#include <algorithm>
#include <cctype>

#include "image/visible_text.h"

namespace halyx {
namespace {

using namespace setting_limits;

std::string CharacterLimit(std::size_t size) {
    return "at most " + std::to_string(size) + " characters";
}

}  // namespace

bool IsTimeOutValue(int seconds) {
    return seconds == 0 ||
           (seconds >= kTimeOutMin && seconds <= kTimeOutMax && seconds % kTimeOutStep == 0);
}

bool IsVoxLevel(int level) {
    return level >= 0 && level <= kLevelMax;
}

bool IsSquelchLevel(int level) {
    return level >= 1 && level <= kLevelMax;
}

bool IsSettingsChannel(int channel) {
    return IsValidChannel(channel);
}

bool IsLanguageValue(int language) {
    return language >= 0 && language <= kLanguageMax;
}

bool IsTxPowerValue(int power) {
    return power >= 0 && power <= kPowerMax;
}

bool IsSerialNumberValue(std::string_view text) {
    return text.size() <= header::kSerialNumberSize &&
           std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0 || c == ' '; });
}

bool IsUserIdValue(std::string_view text) {
    return text.size() <= header::kUserIdSize;
}

std::string SerialNumberAllowed() {
    return CharacterLimit(header::kSerialNumberSize) + " (letters, digits, spaces)";
}

std::string SerialNumberLimit() {
    return CharacterLimit(header::kSerialNumberSize);
}

std::string UserIdAllowed() {
    return CharacterLimit(header::kUserIdSize);
}

CommonSettings::CommonSettings(const RadioImage& image) {
    std::copy_n(image.bytes.begin() + kHeaderOffset, kHeaderSize, bytes_.begin());
}

void CommonSettings::StoreInto(RadioImage& image) const {
    std::copy(bytes_.begin(), bytes_.end(), image.bytes.begin() + kHeaderOffset);
}

std::string CommonSettings::serialNumber() const {
    const auto begin = bytes_.begin() + header::kSerialNumber;
    return std::string(begin, std::find(begin, begin + header::kSerialNumberSize, 0));
}

std::string CommonSettings::userId() const {
    const auto begin = bytes_.begin() + header::kUserId;
    return std::string(begin, std::find(begin, begin + header::kUserIdSize, 0));
}

SetResult CommonSettings::PutByte(std::size_t offset, int value, bool allowed,
                                  std::string_view rule) {
    if (!allowed) {
        return SetResult::Refused(std::string(rule));
    }
    bytes_[offset] = static_cast<std::uint8_t>(value);
    return SetResult::Accepted();
}

SetResult CommonSettings::SetTimeOut(int seconds) {
    return PutByte(header::kTimeOut, seconds, IsTimeOutValue(seconds), kTimeOutAllowed);
}

SetResult CommonSettings::SetVoxLevel(int level) {
    return PutByte(header::kVoxLevel, level, IsVoxLevel(level), kVoxAllowed);
}

SetResult CommonSettings::SetSquelchLevel(int level) {
    return PutByte(header::kSquelchLevel, level, IsSquelchLevel(level), kSquelchAllowed);
}

SetResult CommonSettings::SetSettingsChannel(int channel) {
    return PutByte(header::kSettingsChannel, channel, IsSettingsChannel(channel),
                   kSettingsChannelAllowed);
}

SetResult CommonSettings::SetLanguage(int language) {
    return PutByte(header::kLanguage, language, IsLanguageValue(language), kLanguageAllowed);
}

SetResult CommonSettings::SetTxPower(int power) {
    return PutByte(header::kTxPower, power, IsTxPowerValue(power), kPowerAllowed);
}

void CommonSettings::SetScramble(bool on) {
    bytes_[header::kScramble] = on ? 1 : 0;
}

void CommonSettings::SetCompand(bool on) {
    bytes_[header::kCompand] = on ? 1 : 0;
}

void CommonSettings::PutText(std::size_t offset, std::size_t size, std::string_view text) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes_[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
    }
}

SetResult CommonSettings::SetSerialNumber(std::string_view text) {
    if (text.size() > header::kSerialNumberSize) {
        return SetResult::Refused(SerialNumberLimit());
    }
    if (HasControlCharacters(text)) {
        return SetResult::Refused(std::string(kNoControlCharacters));
    }
    PutText(header::kSerialNumber, header::kSerialNumberSize, text);
    return SetResult::Accepted();
}

SetResult CommonSettings::SetUserId(std::string_view text) {
    if (!IsUserIdValue(text)) {
        return SetResult::Refused(UserIdAllowed());
    }
    if (HasControlCharacters(text)) {
        return SetResult::Refused(std::string(kNoControlCharacters));
    }
    PutText(header::kUserId, header::kUserIdSize, text);
    return SetResult::Accepted();
}

}  // namespace halyx
