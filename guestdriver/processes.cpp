#include "processes.h"

#include <signal.h>

#include <QProcessEnvironment>
#include <QRegularExpression>

namespace guestdriver {

namespace {

constexpr int kStartTimeoutMs = 15000;
const QString kExchangeArrow = QStringLiteral(" -> ");

}  // namespace

RoomPlayerProcess::~RoomPlayerProcess() {
    kill();
}

bool RoomPlayerProcess::start(const QString& room, const QString& settingIni, quint16 port,
                              const QString& script) {
    pending_.clear();
    exchanges_.clear();
    // A restart prints its own "listening on" line; the last run's does not count.
    const qsizetype startOfRun = output_.size();
    process_.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                          QStringLiteral("--room"),   room,
                          QStringLiteral("--settings"), settingIni};
    if (!script.isEmpty()) {
        arguments << QStringLiteral("--script") << script;
    }
    process_.start(QStringLiteral(LYRABOX_ROOMPLAYER_SIM), arguments);
    if (!process_.waitForStarted(kStartTimeoutMs)) {
        return false;
    }
    static const QRegularExpression listening(
        QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    while (process_.waitForReadyRead(kStartTimeoutMs)) {
        read();
        const QRegularExpressionMatch match = listening.match(output_, startOfRun);
        if (match.hasMatch()) {
            port_ = static_cast<quint16>(match.captured(1).toUInt());
            return true;
        }
    }
    return false;
}

void RoomPlayerProcess::kill() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    read();
}

void RoomPlayerProcess::read() {
    const QByteArray bytes = process_.readAll();
    output_ += QString::fromUtf8(bytes);
    pending_ += bytes;
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        const QString line = QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
        if (line.contains(kExchangeArrow)) {
            exchanges_ << line;
        }
    }
}

QStringList RoomPlayerProcess::exchanges() {
    read();
    return exchanges_;
}

QStringList RoomPlayerProcess::received() {
    QStringList commands;
    for (const QString& line : exchanges()) {
        commands << line.left(line.indexOf(kExchangeArrow));
    }
    return commands;
}

void RoomPlayerProcess::forget() {
    read();
    exchanges_.clear();
}

QString RoomPlayerProcess::output() {
    read();
    return output_;
}

ConsoleProcess::~ConsoleProcess() {
    kill();
}

bool ConsoleProcess::start(const QString& programFolder, quint16 guestPort) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    environment.insert(QStringLiteral("LYRABOX_LOOPBACK_ONLY"), QStringLiteral("1"));
    if (guestPort != 0) {
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"),
                           QStringLiteral(LYRABOX_GUEST_PLUGIN_DIR));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                           QStringLiteral("lyraboxguest:%1").arg(guestPort));
    }
    for (auto variable = variables_.cbegin(); variable != variables_.cend(); ++variable) {
        if (variable.value().isEmpty()) {
            environment.remove(variable.key());
        } else {
            environment.insert(variable.key(), variable.value());
        }
    }
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(programFolder);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral(LYRABOX_CONSOLE_PROGRAM), {});
    return process_.waitForStarted(kStartTimeoutMs);
}

bool ConsoleProcess::waitForExit(int timeoutMs) {
    const bool finished =
        process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
    output();
    return finished;
}

QString ConsoleProcess::output() {
    output_ += QString::fromUtf8(process_.readAll());
    return output_;
}

void ConsoleProcess::sendSignal(int signalNumber) {
    if (running()) {
        ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
    }
}

void ConsoleProcess::kill() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

}  // namespace guestdriver
