#pragma once

#include <cstdint>
#include <string>

// "host:port" as the console writes it: the host is the text before the first
// colon (empty when the colon comes first or is missing), the port the decimal
// number after it. Throws ELinkError for a blank address ("Server address is not
// defined!") and for a port that is not a number or out of range. Port 0 (any
// free port) makes sense only for listening.
struct TServerAddress {
    std::string host;
    uint16_t port = 0;

    static TServerAddress Parse(const std::string& text, bool anyPortAllowed = false);
};
