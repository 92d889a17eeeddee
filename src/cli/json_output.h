#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace halyx::cli {

using Json = nlohmann::ordered_json;

// A text for JSON: UTF-8 passes through; bytes that are no UTF-8 (raw radio bytes in a serial
// number) are taken one character each, so every byte still shows and the document stays valid.
// ReadableJson applies the same rule to every text it writes, so a text put in without it cannot
// make the writer throw either.
Json JsonText(const std::string& bytes);

// The document as halyx-cli has always laid it out: the top object's members and the entries of
// arrays of objects one to a line, everything else on the line of its key. Values are written by
// the JSON library, in ASCII with every other character escaped, so no pipe can garble them.
std::string ReadableJson(const Json& document);

}  // namespace halyx::cli
