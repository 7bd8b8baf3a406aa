#include "simulator/songsdatabase.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <stdexcept>

namespace {

constexpr int kDefaultPort = 3306;

[[noreturn]] void Refuse(const QString& why) {
    throw std::runtime_error(why.toStdString());
}

// The first name in names equal to wanted without regard to case; empty if none.
QString MatchingName(const QStringList& names, const QString& wanted) {
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return name;
        }
    }
    return {};
}

QString ReadValue(QSettings& ini, const QString& section, const QString& key) {
    const QString group = MatchingName(ini.childGroups(), section);
    if (group.isEmpty()) {
        return {};
    }
    ini.beginGroup(group);
    const QString name = MatchingName(ini.childKeys(), key);
    // QSettings splits a value at its commas ("alsa/hdmi:CARD=PCH,DEV=0");
    // the console's files mean the text as written.
    const QVariant raw = name.isEmpty() ? QVariant() : ini.value(name);
    const QString value =
        (raw.typeId() == QMetaType::QStringList ? raw.toStringList().join(QLatin1Char(','))
                                                : raw.toString())
            .trimmed();
    ini.endGroup();
    return value;
}

bool IsLoopbackHost(const QString& host) {
    static const QRegularExpression loopbackV4(
        QStringLiteral("^127\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           loopbackV4.match(host).hasMatch();
}

}  // namespace

QString TSongsDatabase::Describe() const {
    return QStringLiteral("%1 on %2:%3").arg(database, host).arg(port);
}

TSongsDatabase ReadSongsDatabase(const QString& settingsPath) {
    if (!QFileInfo(settingsPath).isReadable()) {
        Refuse(QStringLiteral("cannot read the settings file %1").arg(settingsPath));
    }
    QSettings ini(settingsPath, QSettings::IniFormat);
    const QString section = QStringLiteral("PlayerKaraoke");
    QString server = ReadValue(ini, section, QStringLiteral("ServerLaguHost"));
    TSongsDatabase where;
    where.database = ReadValue(ini, section, QStringLiteral("DatabaseLagu"));
    if (server.isEmpty() || where.database.isEmpty()) {
        Refuse(QStringLiteral("%1 names no ServerLaguHost or DatabaseLagu in [PlayerKaraoke]")
                   .arg(settingsPath));
    }
    where.host = server;
    where.port = kDefaultPort;
    const qsizetype colon = server.lastIndexOf(':');
    if (colon > 0) {
        bool ok = false;
        const int port = server.mid(colon + 1).toInt(&ok);
        if (!ok || port <= 0 || port > 65535) {
            Refuse(QStringLiteral("ServerLaguHost %1 has no valid port").arg(server));
        }
        where.host = server.left(colon);
        where.port = port;
    }
    if (qEnvironmentVariableIntValue("LYRABOX_LOOPBACK_ONLY") == 1 && !IsLoopbackHost(where.host)) {
        Refuse(QStringLiteral("loopback-only mode: the songs database host %1 is not on this "
                              "machine")
                   .arg(where.host));
    }
    return where;
}

QString ReadSettingValue(const QString& settingsPath, const QString& section, const QString& key) {
    QSettings ini(settingsPath, QSettings::IniFormat);
    return ReadValue(ini, section, key);
}
