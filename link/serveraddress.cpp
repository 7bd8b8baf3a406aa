#include "link/serveraddress.h"

#include <charconv>

#include "link/linkerror.h"

namespace {

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

TServerAddress TServerAddress::Parse(const std::string& text, bool anyPortAllowed) {
    if (Trimmed(text).empty()) {
        throw ELinkError("Server address is not defined!");
    }
    size_t colon = text.find(':');
    TServerAddress address;
    std::string portText;
    if (colon != std::string::npos) {
        address.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
    }
    long long port = 0;
    const char* end = portText.data() + portText.size();
    auto [stop, error] = std::from_chars(portText.data(), end, port);
    if (portText.empty() || error != std::errc() || stop != end) {
        throw ELinkError("\"" + portText + "\" is not a valid integer value");
    }
    if (port < (anyPortAllowed ? 0 : 1) || port > 65535) {
        throw ELinkError("Port " + portText + " is out of range");
    }
    address.port = static_cast<uint16_t>(port);
    return address;
}
