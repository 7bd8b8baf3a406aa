#include "app/unansweredservers.h"

#include <QHash>
#include <mutex>

namespace unansweredservers {
namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

QHash<QString, TDatabaseFailure>& Failures() {
    static QHash<QString, TDatabaseFailure> failures;
    return failures;
}

}  // namespace

void Remember(const QString& server, const TDatabaseFailure& failure) {
    const std::lock_guard guard(Lock());
    Failures().insert(server, failure);
}

std::optional<TDatabaseFailure> Recent(const QString& server,
                                       std::chrono::steady_clock::duration within) {
    const std::lock_guard guard(Lock());
    const auto found = Failures().constFind(server);
    if (found == Failures().cend() || std::chrono::steady_clock::now() - found->at >= within) {
        return std::nullopt;
    }
    return *found;
}

void Forget(const QString& server) {
    const std::lock_guard guard(Lock());
    Failures().remove(server);
}

}  // namespace unansweredservers
