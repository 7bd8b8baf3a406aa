#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "link/timclistener.h"

namespace testsupport {

// A room player for tests: a link listener on 127.0.0.1 with a free port, in a
// thread of the test, that answers each request from a script and records what
// it received. The console's thread blocks on its send exactly as with the real
// room player, so a test reads the record as soon as Kirim has returned.
class ScriptedRoomPlayer {
public:
    // How the room player answers one request.
    struct Answer {
        enum class Kind {
            Reply,          // a reply frame whose "String" is text
            EmptyString,    // a reply frame without a "String" value
            FailureMarker,  // the room player's failure marker
            NoAnswer,       // nothing; the connection stays open until the console leaves
            Close,          // close the connection without a byte
        };
        Kind kind = Kind::Reply;
        QString text;

        static Answer Reply(const QString& text) { return {Kind::Reply, text}; }
        static Answer EmptyString() { return {Kind::EmptyString, {}}; }
        static Answer FailureMarker() { return {Kind::FailureMarker, {}}; }
        static Answer NoAnswer() { return {Kind::NoAnswer, {}}; }
        static Answer Close() { return {Kind::Close, {}}; }
    };

    // One request as it reached the room player.
    struct Request {
        QString command;       // the request's ID
        QStringList names;     // the names of its stored values, in order
        QString commandValue;  // its "Command" value, read as 8-bit text
        QByteArray storage;    // the storage stream's bytes as they came
    };

    // Answers "6" (a status the console ignores) until told otherwise.
    ScriptedRoomPlayer();
    ~ScriptedRoomPlayer();
    ScriptedRoomPlayer(const ScriptedRoomPlayer&) = delete;
    ScriptedRoomPlayer& operator=(const ScriptedRoomPlayer&) = delete;

    // A port on loopback where nothing listens: connecting there is refused.
    static quint16 closedPort();

    QString host() const { return QString::fromStdString(listener_.Host()); }
    quint16 port() const { return listener_.Port(); }

    // The answer for one exact command text, e.g. "33#"; it wins over the rest.
    void answerCommand(const QString& command, Answer answer);
    // The answer for every command of a code (the text before the first "#").
    void answerCode(const QString& code, Answer answer);
    // Answers for the next requests, one each, in order; they win over the
    // per-command and per-code answers.
    void answerNext(Answer answer);
    void answerDefault(Answer answer);
    // Forgets every answer; the default goes back to "6".
    void resetScript();

    // The command texts received, in order.
    QStringList received() const;
    QList<Request> requests() const;
    void clearReceived();
    // Connections accepted, whether or not a request came on them.
    int connections() const { return connections_; }

private:
    void Serve();
    Answer AnswerFor(const QString& command);

    TIMCListener listener_;
    mutable std::mutex mutex_;
    QHash<QString, Answer> byCommand_;
    QHash<QString, Answer> byCode_;
    QList<Answer> next_;
    Answer default_ = Answer::Reply(QStringLiteral("6"));
    QList<Request> requests_;
    std::atomic<int> connections_ = 0;
    std::thread thread_;
};

}  // namespace testsupport
