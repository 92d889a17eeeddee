#pragma once

// A fleet radio's port in tests: an in-process radio of its own behind the link port.

#include "link/peer_link_port.h"

namespace halyx::test {

using PeerFleetPort = PeerLinkPort;

}  // namespace halyx::test
