#include "guestsession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <stdexcept>
#include <utility>

namespace guestdriver {

namespace {

constexpr int kReplyTimeoutMs = 20000;

}  // namespace

GuestSession::GuestSession()
    : onError([](const std::string& what) { throw std::runtime_error(what); }) {
    if (!server_.listen(QHostAddress::LocalHost, 0)) {
        throw std::runtime_error("the guest listener cannot listen: " +
                                 server_.errorString().toStdString());
    }
}

bool GuestSession::accept(int timeoutMs) {
    // The event loop may have taken the connection in already; waiting on the
    // listening socket would not see it then.
    if (!server_.hasPendingConnections()) {
        server_.waitForNewConnection(timeoutMs);
    }
    if (!server_.hasPendingConnections()) {
        return false;
    }
    socket_.reset(server_.nextPendingConnection());
    socket_->setParent(nullptr);
    return true;
}

bool GuestSession::connected() const {
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

QString GuestSession::refusal(const QJsonObject& request) {
    std::string reason;
    const auto previous = std::exchange(onError, [&](const std::string& what) { reason = what; });
    call(request);
    onError = previous;
    return QString::fromStdString(reason);
}

QJsonValue GuestSession::call(const QJsonObject& request) {
    const std::string what = QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString();
    if (!connected()) {
        onError("the console's guest driver is not connected: " + what);
        return {};
    }
    socket_->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    socket_->flush();
    while (!socket_->canReadLine()) {
        if (!socket_->waitForReadyRead(kReplyTimeoutMs)) {
            onError("no answer from the console to " + what + ": " +
                    socket_->errorString().toStdString());
            return {};
        }
    }
    const QJsonObject reply = QJsonDocument::fromJson(socket_->readLine()).object();
    if (!reply.value(QStringLiteral("ok")).toBool()) {
        onError(what +
                " refused: " + reply.value(QStringLiteral("error")).toString().toStdString());
        return {};
    }
    return reply.value(QStringLiteral("value"));
}

void GuestSession::tap(const QString& name) {
    call({{"op", "tap"}, {"name", name}});
}

void GuestSession::tapKey(const QString& keyboard, const QString& key) {
    call({{"op", "tapKey"}, {"name", keyboard}, {"key", key}});
}

void GuestSession::typeOn(const QString& keyboard, const QString& keys) {
    for (const QChar key : keys) {
        tapKey(keyboard, key == QLatin1Char(' ') ? QStringLiteral("Space") : QString(key));
    }
}

void GuestSession::tapSpot(const QString& picture, const QString& spot) {
    call({{"op", "tapSpot"}, {"name", picture}, {"spot", spot}});
}

void GuestSession::tapRow(const QString& list, int row) {
    call({{"op", "tapRow"}, {"name", list}, {"row", row}});
}

void GuestSession::tapRowButton(const QString& list, int row) {
    call({{"op", "tapRow"}, {"name", list}, {"row", row}, {"button", true}});
}

void GuestSession::skinTap(const QString& command) {
    call({{"op", "skinTap"}, {"command", command}});
}

void GuestSession::answer(const QString& button) {
    call({{"op", "answer"}, {"button", button}});
}

QString GuestSession::text(const QString& name) {
    return call({{"op", "text"}, {"name", name}}).toString();
}

QRect GuestSession::screenRect(const QString& name) {
    const QJsonArray rect =
        call({{"op", "state"}, {"name", name}}).toObject().value(QStringLiteral("rect")).toArray();
    return rect.size() == 4
               ? QRect(rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt())
               : QRect();
}

bool GuestSession::visible(const QString& name) {
    return call({{"op", "state"}, {"name", name}})
        .toObject()
        .value(QStringLiteral("visible"))
        .toBool();
}

bool GuestSession::enabled(const QString& name) {
    return call({{"op", "state"}, {"name", name}})
        .toObject()
        .value(QStringLiteral("enabled"))
        .toBool();
}

int GuestSession::selectedRow(const QString& list) {
    return call({{"op", "state"}, {"name", list}})
        .toObject()
        .value(QStringLiteral("selectedRow"))
        .toInt(-1);
}

QStringList GuestSession::rows(const QString& list) {
    QStringList rows;
    for (const QJsonValue& row : call({{"op", "rows"}, {"name", list}}).toArray()) {
        rows << row.toString();
    }
    return rows;
}

int GuestSession::rowContaining(const QString& list, const QString& part) {
    const QStringList all = rows(list);
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].contains(part)) {
            return i;
        }
    }
    return -1;
}

QString GuestSession::skinVariable(const QString& field) {
    return call({{"op", "skinVariable"}, {"field", field}}).toString();
}

QJsonObject GuestSession::dialog() {
    return call({{"op", "dialog"}}).toObject();
}

QString GuestSession::dialogText() {
    const QJsonValue dialog = call({{"op", "dialog"}});
    return dialog.isObject() ? dialog.toObject().value(QStringLiteral("text")).toString()
                             : QString();
}

}  // namespace guestdriver
