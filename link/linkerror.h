#pragma once

#include <stdexcept>
#include <string>

// A failure of the message link: a storage misuse, a bad server address or a
// transport error. Code is the operating system's error number when one lies
// behind the failure, otherwise 0.
class ELinkError : public std::runtime_error {
public:
    explicit ELinkError(const std::string& message, int code = 0)
        : std::runtime_error(message), FCode(code) {}
    int Code() const { return FCode; }

private:
    int FCode;
};
