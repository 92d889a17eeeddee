#pragma once

#include <string>
#include <utility>

namespace halyx {

// The answer of a setter that checks its value: accepted, or refused with what it would have
// accepted ("1..9"), so that every face can say why without knowing the rule.
struct SetResult {
    bool accepted = true;
    std::string allowed;  // empty when accepted

    static SetResult Accepted() { return {}; }
    static SetResult Refused(std::string allowed) { return {false, std::move(allowed)}; }
    explicit operator bool() const { return accepted; }
};

}  // namespace halyx
