#pragma once

#include <string>

namespace halyx::cli {

// The doctor's likely cause for a port that would not open or a radio that did not answer on
// `devicePath`, as one line for an error message; empty when the checks find nothing.
std::string PortDoctorHint(const std::string& devicePath);

}  // namespace halyx::cli
