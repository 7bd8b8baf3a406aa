#pragma once

#include <QString>
#include <chrono>
#include <optional>

// A database failure as the console met it: the text and code it carries, and
// when it happened.
struct TDatabaseFailure {
    QString message;
    int nativeCode = 0;
    std::chrono::steady_clock::time_point at;
};

// The servers that let a connection wait and then failed it (a hung host, a
// dropped network): a fact about the server, shared by every connection to it,
// so that the next connection does not wait on the same server again at once.
// Kept for the whole program and safe to use from several threads.
namespace unansweredservers {

// `server` is "host:port".
void Remember(const QString& server, const TDatabaseFailure& failure);
// The server's last failure, when it is more recent than `within`.
std::optional<TDatabaseFailure> Recent(const QString& server,
                                       std::chrono::steady_clock::duration within);
// The server answered.
void Forget(const QString& server);

}  // namespace unansweredservers
