#pragma once

#include "link/link_port.h"
#include "link/port_doctor.h"

namespace halyx {

// The cable self-test on an open port: sends the loopback pattern as one frame and waits, in a
// local event loop and at most `waitMs`, for it to come back. The port must be open; its owner's
// thread runs the loop.
DoctorCheck RunCableSelfTest(LinkPort& port, int waitMs = 1500);

}  // namespace halyx
