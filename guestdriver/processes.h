#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace guestdriver {

// roomplayer-sim playing one room's playlist from the songs database, with
// the commands it received read from its output.
class RoomPlayerProcess {
public:
    ~RoomPlayerProcess();
    // Starts it on 127.0.0.1:port (0 picks a free port) and waits until it
    // listens; a script (simulator/README.md) makes it misbehave as it says.
    bool start(const QString& room, const QString& settingIni, quint16 port = 0,
               const QString& script = QString());
    // Ends it at once, as a crash or a pulled plug would.
    void kill();
    bool running() const { return process_.state() != QProcess::NotRunning; }
    quint16 port() const { return port_; }
    // The command texts received so far, in order.
    QStringList received();
    // "command -> what it did" lines, in order.
    QStringList exchanges();
    void forget();
    QString output();

private:
    void read();

    QProcess process_;
    quint16 port_ = 0;
    QByteArray pending_;
    QStringList exchanges_;
    QString output_;
};

// The lyrabox program, started from a program folder on Qt's offscreen
// platform with the guest driver loaded.
class ConsoleProcess {
public:
    ~ConsoleProcess();
    // guestPort 0 starts it without the guest driver.
    bool start(const QString& programFolder, quint16 guestPort);
    // Sets (or, with an empty value, removes) a variable of the console's
    // environment for the next start, over the defaults above.
    void setVariable(const QString& name, const QString& value) { variables_[name] = value; }
    // Sends a signal, as systemd or a session's end would.
    void sendSignal(int signalNumber);
    bool running() const { return process_.state() != QProcess::NotRunning; }
    qint64 pid() const { return process_.processId(); }
    bool waitForExit(int timeoutMs);
    int exitCode() const { return process_.exitCode(); }
    bool crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
    // Standard output and error so far.
    QString output();
    void kill();

private:
    QProcess process_;
    QString output_;
    QHash<QString, QString> variables_;
};

}  // namespace guestdriver
