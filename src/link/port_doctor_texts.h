#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/port_doctor.h"
#include "link/port_open_failure.h"

namespace halyx {

// The doctor's sentences: one table of language keys with their built-in English, so the command
// line (always English) and the window (in its language, falling back to the same English) never
// word a finding twice. A key may hold a finding and its fix, or the outcome words, as parts
// separated by '|'; a translation that lacks a part shows the English one.
struct DoctorWords {
    std::string finding;
    std::string fix;
};

// The finding and fix of `check` in the language `lookup` gives, its facts filled in. A check told
// in words rather than by code (DoctorFinding::Told) is shown as it is.
DoctorWords DoctorCheckWords(const DoctorCheck& check, const PortTextLookup& lookup);
DoctorWords DoctorCheckWordsEnglish(DoctorFinding code, const std::vector<std::string>& facts);
// "ok", "warning", "problem", "skipped" in the language `lookup` gives.
std::string OutcomeWord(CheckOutcome outcome, const PortTextLookup& lookup);
// A check's name ("device", "permission", ...) in the language `lookup` gives; an id it does not
// know is shown as it is.
std::string CheckName(std::string_view id, const PortTextLookup& lookup);
// The first problem (else warning) as "finding; fix" in the language `lookup` gives; empty when
// all went well.
std::string LikelyCause(const std::vector<DoctorCheck>& checks, const PortTextLookup& lookup);

}  // namespace halyx
