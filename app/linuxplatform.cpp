#include "app/linuxplatform.h"

#include <netdb.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QMessageBox>
#include <QNetworkInformation>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/loopbackguard.h"
#include "app/touchmessagebox.h"

QString LinuxPlatform::ComputerName() {
    return HostName();
}

QString LinuxPlatform::HostName() {
    std::array<char, 256> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) {
        return {};
    }
    return QString::fromLocal8Bit(buffer.data());
}

QList<InterfaceAddresses> LinuxPlatform::NetworkInterfaces() {
    return SystemInterfaces();
}

void LinuxPlatform::SynchroniseClock(const QString& timeServer) {
    if (loopbackguard::LoopbackOnly()) {
        qInfo("clock synchronisation skipped: LYRABOX_LOOPBACK_ONLY=1");
        return;
    }
    // The settings may name the server as host:port for the database; the time
    // service is reached on the host alone.
    QString host = timeServer;
    const qsizetype colon = host.lastIndexOf(':');
    if (colon > 0 && host.indexOf(':') == colon) {
        host = host.left(colon);
    }
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ntpdate"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin")});
    if (program.isEmpty()) {
        qWarning(
            "clock synchronisation skipped: ntpdate is not installed "
            "(Debian package ntpsec-ntpdate)");
        return;
    }
    if (!QProcess::startDetached(program, {host})) {
        qWarning("clock synchronisation: cannot start %s", qPrintable(program));
    }
}

void LinuxPlatform::ShowMessage(const QString& text) {
    if (ending_) {
        qWarning("lyrabox: ending, message not shown: %s", qPrintable(text));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
    touchmessagebox::Exec(box, dialogOwner_);
}

bool LinuxPlatform::ConfirmYesCancel(const QString& text) {
    if (ending_) {
        qWarning("lyrabox: ending, question answered Cancel: %s", qPrintable(text));
        return false;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::Cancel);
    return touchmessagebox::Exec(box, dialogOwner_) == QMessageBox::Yes;
}

void LinuxPlatform::Sleep(int milliseconds) {
    QThread::msleep(milliseconds);
}

bool LinuxPlatform::IsInternetConnected() {
    if (QNetworkInformation::instance() == nullptr && !networkInformationMissing_) {
        // NetworkManager is the default; where it does not run, GLib's
        // monitor follows the kernel's routes and links.
        networkInformationMissing_ =
            !QNetworkInformation::loadDefaultBackend() &&
            !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    if (networkInformationMissing_) {
        // No backend can tell: assume the network is there rather than lock
        // the console in its reconnection loop.
        return true;
    }
    // The room player is on the venue's network: a local link is enough.
    const auto reachability = QNetworkInformation::instance()->reachability();
    return reachability != QNetworkInformation::Reachability::Disconnected;
}

namespace {

QString ReadAttribute(const QDir& device, const char* name) {
    QFile file(device.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QString::fromLatin1(file.readAll()).trimmed();
}

// A reading in 0..100, or -1.
int Percent(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= 100 ? value : -1;
}

// now / full of the first pair of attributes the driver offers, or -1.
int PercentFromLevels(const QDir& device) {
    for (const auto& [now, full] :
         {std::pair{"energy_now", "energy_full"}, std::pair{"charge_now", "charge_full"}}) {
        bool nowOk = false;
        bool fullOk = false;
        const qint64 level = ReadAttribute(device, now).toLongLong(&nowOk);
        const qint64 capacity = ReadAttribute(device, full).toLongLong(&fullOk);
        if (nowOk && fullOk && capacity > 0 && level >= 0) {
            return static_cast<int>(std::min<qint64>(100, (level * 100 + capacity / 2) / capacity));
        }
    }
    return -1;
}

}  // namespace

int LinuxPlatform::BatteryPercentFrom(const QString& powerSupplyDir) {
    const QDir supplies(powerSupplyDir);
    const QStringList names = supplies.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QDir device(supplies.filePath(name));
        // A "Device" battery belongs to a mouse or a headset, not to the tablet.
        if (ReadAttribute(device, "type") != QLatin1String("Battery") ||
            ReadAttribute(device, "scope") == QLatin1String("Device") ||
            ReadAttribute(device, "present") == QLatin1String("0")) {
            continue;
        }
        int percent = Percent(ReadAttribute(device, "capacity"));
        if (percent < 0) {
            percent = PercentFromLevels(device);
        }
        if (percent >= 0) {
            return percent;
        }
    }
    return kBatteryUnknown;
}

int LinuxPlatform::BatteryPercent() {
    return BatteryPercentFrom(QStringLiteral("/sys/class/power_supply"));
}
