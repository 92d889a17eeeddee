#include "cli/json_output.h"

#include "image/visible_text.h"

namespace halyx::cli {
namespace {

constexpr int kIndentStep = 2;

// Every text reaches the JSON library through here, so none can make it throw.
std::string Scalar(const Json& value) {
    if (value.is_string()) {
        return Json(JsonSafeText(value.get_ref<const std::string&>())).dump(-1, ' ', true);
    }
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
    return JsonSafeText(bytes);
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
