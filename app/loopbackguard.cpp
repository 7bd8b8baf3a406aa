#include "app/loopbackguard.h"

#include <QHostAddress>
#include <stdexcept>

namespace loopbackguard {

bool LoopbackOnly() {
    return qEnvironmentVariableIntValue("LYRABOX_LOOPBACK_ONLY") == 1;
}

bool IsLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

void CheckHostAllowed(const QString& host) {
    if (LoopbackOnly() && !IsLoopbackHost(host)) {
        throw std::runtime_error(
            QStringLiteral("refusing to contact %1: only 127.0.0.1 may be reached when "
                           "LYRABOX_LOOPBACK_ONLY=1")
                .arg(host)
                .toStdString());
    }
}

}  // namespace loopbackguard
