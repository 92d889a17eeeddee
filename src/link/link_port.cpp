#include "link/link_port.h"

namespace halyx {

LinkPort::~LinkPort() = default;

}  // namespace halyx
