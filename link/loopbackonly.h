#pragma once

#include <sys/socket.h>

// Tests and the demo run with LYRABOX_LOOPBACK_ONLY=1: then the link refuses
// to connect anywhere outside 127.0.0.0/8 and ::1, so a run that was handed a
// venue's address fails instead of reaching into that network.
namespace loopbackonly {

bool Enabled();
bool IsLoopback(const sockaddr* address);

}  // namespace loopbackonly
