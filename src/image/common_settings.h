#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "image/radio_image.h"
#include "image/set_result.h"

namespace halyx {

// The ranges the settings' lists offer; the setters and the lists both take them from here.
namespace setting_limits {
inline constexpr int kTimeOutMin = 30;  // seconds; 0 is off
inline constexpr int kTimeOutMax = 180;
inline constexpr int kTimeOutStep = 10;
inline constexpr int kLevelMax = 9;  // VOX (0 off) and squelch (from 1)
inline constexpr int kLanguageMax = 1;
inline constexpr int kPowerMax = 2;
}  // namespace setting_limits

// What the settings setters accept, for the faces' refusal messages.
inline constexpr std::string_view kSquelchAllowed = "1..9";
inline constexpr std::string_view kTimeOutAllowed = "off or 30..180 in steps of 10";
inline constexpr std::string_view kVoxAllowed = "off or 1..9";
inline constexpr std::string_view kPowerAllowed = "0, 1 or 2";
inline constexpr std::string_view kSettingsChannelAllowed = "1..20";
inline constexpr std::string_view kLanguageAllowed = "0 or 1";
// The identity fields are shown on screens, in reports and in terminals: no control characters.
inline constexpr std::string_view kNoControlCharacters = "text without control characters";
std::string SerialNumberAllowed();  // "at most 10 characters (letters, digits, spaces)"
std::string SerialNumberLimit();    // "at most 10 characters"
std::string UserIdAllowed();        // "at most 6 characters"

// The radio's common settings: the 41-byte header as the user edits it. Each setter checks its
// value against the field's list or rule and refuses (changing nothing) what the radio cannot
// hold; bytes no setter interprets are carried unchanged.
class CommonSettings {
public:
    explicit CommonSettings(const RadioImage& image);
    explicit CommonSettings(const HeaderBytes& bytes) : bytes_(bytes) {}

    // Writes all 41 bytes back to the start of `image`.
    void StoreInto(RadioImage& image) const;
    const HeaderBytes& bytes() const { return bytes_; }

    std::uint8_t band() const { return bytes_[header::kBand]; }
    std::uint8_t timeOut() const { return bytes_[header::kTimeOut]; }    // seconds, 0 off
    std::uint8_t voxLevel() const { return bytes_[header::kVoxLevel]; }  // 0 off
    std::uint8_t squelchLevel() const { return bytes_[header::kSquelchLevel]; }
    std::uint8_t settingsChannel() const { return bytes_[header::kSettingsChannel]; }
    std::uint8_t language() const { return bytes_[header::kLanguage]; }
    std::uint8_t txPower() const { return bytes_[header::kTxPower]; }
    // Check boxes are on exactly when the byte is 1.
    bool scramble() const { return bytes_[header::kScramble] == 1; }
    bool compand() const { return bytes_[header::kCompand] == 1; }
    // The text fields' bytes up to the first zero byte (or the whole field).
    std::string serialNumber() const;
    std::string userId() const;

    SetResult SetTimeOut(int seconds);          // 0 (off) or 30..180 in steps of 10
    SetResult SetVoxLevel(int level);           // 0 (off) .. 9
    SetResult SetSquelchLevel(int level);       // 1..9
    SetResult SetSettingsChannel(int channel);  // 1..20
    SetResult SetLanguage(int language);        // 0 or 1
    SetResult SetTxPower(int power);            // 0, 1 or 2
    void SetScramble(bool on);
    void SetCompand(bool on);
    // At most 10 bytes and no control characters, stored followed by zero bytes up to 10. The
    // letters-digits-spaces rule is the typing rule of the faces (IsSerialNumberValue): a radio may
    // hold other characters.
    SetResult SetSerialNumber(std::string_view text);
    // At most 6 bytes (the text as the radio stores it) and no control characters; stored
    // followed by zero bytes up to 6.
    SetResult SetUserId(std::string_view text);

    friend bool operator==(const CommonSettings&, const CommonSettings&) = default;

private:
    SetResult PutByte(std::size_t offset, int value, bool allowed, std::string_view rule);
    void PutText(std::size_t offset, std::size_t size, std::string_view text);

    HeaderBytes bytes_{};
};

// The rules behind the setters, for parsers that must refuse a text before there is an image.
bool IsTimeOutValue(int seconds);
bool IsVoxLevel(int level);
bool IsSquelchLevel(int level);
bool IsSettingsChannel(int channel);
bool IsLanguageValue(int language);
bool IsTxPowerValue(int power);
// What a user may type as a serial number (the box, `halyx-cli set`, an overrides file):
// letters, digits and spaces, at most 10 of them.
bool IsSerialNumberValue(std::string_view text);
// The User ID box takes any text of at most 6 bytes.
bool IsUserIdValue(std::string_view text);

}  // namespace halyx
