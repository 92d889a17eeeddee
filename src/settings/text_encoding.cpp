#include "settings/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace halyx {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kReplacementGbk = "?";
constexpr unsigned kGbkFirstLeadByte = 0x81;
constexpr unsigned kGbkLastLeadByte = 0xFE;

unsigned ByteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

bool IsContinuation(unsigned byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Length a UTF-8 lead byte announces; 0 for a byte that cannot start a character.
std::size_t AnnouncedLength(unsigned lead) {
    if (lead < 0x80U) {
        return 1;
    }
    if (lead >= 0xC2U && lead <= 0xDFU) {
        return 2;
    }
    if (lead >= 0xE0U && lead <= 0xEFU) {
        return 3;
    }
    if (lead >= 0xF0U && lead <= 0xF4U) {
        return 4;
    }
    return 0;
}

// Length of the well-formed character at `pos`, or 0. Rejects overlong forms, surrogates and
// code points above U+10FFFF, so only text that every decoder agrees on passes.
std::size_t ValidSequenceLength(std::string_view text, std::size_t pos) {
    const unsigned lead = ByteAt(text, pos);
    const std::size_t length = AnnouncedLength(lead);
    if (length == 0 || pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(ByteAt(text, pos + i))) {
            return 0;
        }
    }
    if (length >= 3) {
        const unsigned second = ByteAt(text, pos + 1);
        if ((lead == 0xE0U && second < 0xA0U) || (lead == 0xEDU && second > 0x9FU) ||
            (lead == 0xF0U && second < 0x90U) || (lead == 0xF4U && second > 0x8FU)) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = ValidSequenceLength(bytes, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string RepairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = ValidSequenceLength(bytes, pos);
        if (length == 0) {
            out += kReplacementUtf8;
            ++pos;
        } else {
            out += bytes.substr(pos, length);
            pos += length;
        }
    }
    return out;
}

std::string_view DropIncompleteUtf8Tail(std::string_view utf8) {
    // A character is at most 4 bytes, so only the last 3 can belong to an unfinished one.
    std::size_t lead = utf8.size();
    for (std::size_t back = 0; back < 3 && lead > 0; ++back) {
        --lead;
        const unsigned byte = ByteAt(utf8, lead);
        if (!IsContinuation(byte)) {
            const std::size_t length = AnnouncedLength(byte);
            return length > utf8.size() - lead ? utf8.substr(0, lead) : utf8;
        }
    }
    return utf8;
}

std::string_view DropIncompleteGbkTail(std::string_view gbk) {
    // Trail bytes of GBK overlap ASCII and lead bytes, so pairs can only be found from the start.
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const unsigned byte = ByteAt(gbk, pos);
        if (byte >= kGbkFirstLeadByte && byte <= kGbkLastLeadByte) {
            if (pos + 1 == gbk.size()) {
                return gbk.substr(0, pos);
            }
            pos += 2;
        } else {
            ++pos;
        }
    }
    return gbk;
}

#ifdef _WIN32

namespace {

constexpr UINT kCodePageGbk = 936;

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), inLength, wide.data(), wideLength);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(wide.size());
    // CP_UTF8 refuses a default character; code page 936 uses '?' for what it cannot map.
    const char* fallback = codePage == CP_UTF8 ? nullptr : kReplacementGbk.data();
    const int outLength =
        WideCharToMultiByte(codePage, 0, wide.data(), inLength, nullptr, 0, fallback, nullptr);
    std::string out(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), inLength, out.data(), outLength, fallback,
                        nullptr);
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    return FromWide(CP_UTF8, ToWide(kCodePageGbk, gbk));
}

std::string Utf8ToGbk(std::string_view utf8) {
    return FromWide(kCodePageGbk, ToWide(CP_UTF8, RepairUtf8(utf8)));
}

#else  // iconv: glibc, and libiconv on macOS and the BSDs

namespace {

// "CP936" rather than "GBK": the Windows code page also maps 0x80 to the euro sign.
constexpr const char* kGbkName = "CP936";

// How many input bytes to skip at a sequence the converter refuses, and what to write instead.
using SkipRule = std::size_t (*)(std::string_view rest);

std::size_t SkipOneByte(std::string_view) {
    return 1;
}

std::size_t SkipOneUtf8Character(std::string_view rest) {
    const std::size_t length = ValidSequenceLength(rest, 0);
    return length == 0 ? 1 : length;
}

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string run(std::string_view in, std::string_view replacement, SkipRule skip) {
        std::string out;
        out.reserve(in.size() * 2);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char chunk[512];
        while (inLeft > 0) {
            char* outPtr = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
            if (result != static_cast<std::size_t>(-1) || error == E2BIG) {
                continue;
            }
            // EILSEQ: a sequence it cannot convert; EINVAL: the input ends inside one.
            const std::size_t skipped =
                error == EINVAL ? inLeft : std::min(inLeft, skip(std::string_view(inPtr, inLeft)));
            out += replacement;
            inPtr += skipped;
            inLeft -= skipped;
        }
        return out;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    Converter converter("UTF-8", kGbkName);
    if (!converter.ok()) {
        return RepairUtf8(gbk);  // keeps ASCII readable if the C library lacks GBK
    }
    return converter.run(gbk, kReplacementUtf8, SkipOneByte);
}

std::string Utf8ToGbk(std::string_view utf8) {
    Converter converter(kGbkName, "UTF-8");
    if (!converter.ok()) {
        return std::string(utf8);
    }
    return converter.run(utf8, kReplacementGbk, SkipOneUtf8Character);
}

#endif

}  // namespace halyx
