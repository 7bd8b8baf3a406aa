#pragma once

#include <QString>
#include <stdexcept>

// A failed connection or statement. The message is the server's own text (or the
// client library's, when the server was never reached), as a guest-facing log
// line shows it.
class EDatabaseError : public std::runtime_error {
public:
    EDatabaseError(const QString& message, int nativeCode)
        : std::runtime_error(message.toStdString()), nativeCode_(nativeCode) {}
    int nativeCode() const { return nativeCode_; }

private:
    int nativeCode_;
};
