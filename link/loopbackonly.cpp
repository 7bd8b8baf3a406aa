#include "link/loopbackonly.h"

#include <netinet/in.h>

#include <cstdlib>
#include <cstring>

namespace loopbackonly {

bool Enabled() {
    const char* value = std::getenv("LYRABOX_LOOPBACK_ONLY");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

bool IsLoopback(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
    }
    if (address->sa_family == AF_INET6) {
        const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        if (IN6_IS_ADDR_LOOPBACK(&v6)) {
            return true;
        }
        return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
    }
    return false;
}

}  // namespace loopbackonly
