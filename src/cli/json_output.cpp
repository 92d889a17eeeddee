#include "cli/json_output.h"

#include "settings/text_encoding.h"

namespace halyx::cli {
namespace {

constexpr int kIndentStep = 2;

std::string Scalar(const Json& value) {
    return value.dump(-1, ' ', true);
}

bool IsArrayOfObjects(const Json& value) {
    return value.is_array() && !value.empty() && value.front().is_object();
}

std::string Inline(const Json& value) {
    if (value.is_object()) {
        std::string out = "{";
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            out += (first ? "" : ", ") + Scalar(Json(key)) + ": " + Inline(member);
            first = false;
        }
        return out + "}";
    }
    if (value.is_array()) {
        std::string out = "[";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += (i == 0 ? "" : ", ") + Inline(value[i]);
        }
        return out + "]";
    }
    return Scalar(value);
}

std::string Block(const Json& value, int indent) {
    const std::string inner(static_cast<std::size_t>(indent + kIndentStep), ' ');
    const std::string outer(static_cast<std::size_t>(indent), ' ');
    if (IsArrayOfObjects(value)) {
        std::string out = "[\n";
        for (std::size_t i = 0; i < value.size(); ++i) {
            out += inner + Inline(value[i]) + (i + 1 < value.size() ? ",\n" : "\n");
        }
        return out + outer + "]";
    }
    return Inline(value);
}

}  // namespace

Json JsonText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string utf8;
    for (const unsigned char c : bytes) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string ReadableJson(const Json& document) {
    if (!document.is_object()) {
        return Inline(document) + "\n";
    }
    std::string out = "{\n";
    std::size_t left = document.size();
    for (const auto& [key, member] : document.items()) {
        out += std::string(kIndentStep, ' ') + Scalar(Json(key)) + ": " +
               Block(member, kIndentStep) + (--left > 0 ? ",\n" : "\n");
    }
    return out + "}\n";
}

}  // namespace halyx::cli
