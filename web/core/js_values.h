#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

namespace halyx::web {

// Conversions between the page's values and the core's, so the bindings stay one line each.
inline std::vector<std::uint8_t> BytesFrom(const emscripten::val& array) {
    return emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
}

// A copy the page owns: a view into the module's memory would go stale when memory grows.
inline emscripten::val ToUint8Array(const std::vector<std::uint8_t>& bytes) {
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

template <typename Container>
emscripten::val ToStringArray(const Container& texts) {
    emscripten::val array = emscripten::val::array();
    for (const auto& text : texts) {
        array.call<void>("push", std::string(text));
    }
    return array;
}

}  // namespace halyx::web
