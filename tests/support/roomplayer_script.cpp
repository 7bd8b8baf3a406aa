#include "support/roomplayer_script.h"

#include "link/frameformat.h"
#include "link/linkerror.h"
#include "link/tmessagedata.h"

namespace testsupport {

namespace {

constexpr uint32_t kSendTimeout = 5000;
// A silent room player holds the connection until the console gives up or the
// test ends, whichever comes first.
constexpr uint32_t kHoldTimeout = 120000;

QString FromU16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

ScriptedRoomPlayer::Request Record(IMessageData& request) {
    ScriptedRoomPlayer::Request record;
    record.command = FromU16(request.ID());
    TStreamStorage& storage = request.Data();
    const std::vector<uint8_t>& bytes = storage.Storage().Bytes();
    record.storage = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                static_cast<qsizetype>(bytes.size()));
    for (TNamesEnumerator names = storage.GetEnumerator(); names.MoveNext();) {
        record.names << FromU16(names.Current());
    }
    record.commandValue = QString::fromLatin1(storage.ReadUTF8String(u"Command"));
    return record;
}

void Send(TIMCPeer& peer, const ScriptedRoomPlayer::Answer& answer, const std::u16string& id) {
    using Kind = ScriptedRoomPlayer::Answer::Kind;
    switch (answer.kind) {
        case Kind::Reply: {
            TMessageData reply;
            reply.SetID(id);
            reply.Data().WriteUTF8String(u"String", answer.text.toLatin1().toStdString());
            peer.SendReply(reply, kSendTimeout);
            break;
        }
        case Kind::EmptyString:
            peer.SendBytes(linkframe::Encode(id, {}), kSendTimeout);
            break;
        case Kind::FailureMarker:
            peer.SendFailureMarker(kSendTimeout);
            break;
        case Kind::NoAnswer:
            peer.WaitForPeer(kHoldTimeout);
            break;
        case Kind::Close:
            break;
    }
}

}  // namespace

ScriptedRoomPlayer::ScriptedRoomPlayer() {
    listener_.Listen("127.0.0.1:0");
    thread_ = std::thread([this] { Serve(); });
}

quint16 ScriptedRoomPlayer::closedPort() {
    TIMCListener listener;
    listener.Listen("127.0.0.1:0");
    return listener.Port();
}

ScriptedRoomPlayer::~ScriptedRoomPlayer() {
    listener_.Stop();
    thread_.join();
}

void ScriptedRoomPlayer::Serve() {
    while (std::unique_ptr<TIMCPeer> peer = listener_.Accept()) {
        ++connections_;
        const std::shared_ptr<IMessageData> request = peer->ReadRequest(kSendTimeout);
        if (!request) {
            continue;
        }
        Request record = Record(*request);
        const Answer answer = AnswerFor(record.command);
        {
            const std::lock_guard lock(mutex_);
            requests_ << record;
        }
        try {
            Send(*peer, answer, request->ID());
        } catch (const ELinkError&) {
            // The console left before the answer; the next connection is served.
        }
        peer->Close();
    }
}

ScriptedRoomPlayer::Answer ScriptedRoomPlayer::AnswerFor(const QString& command) {
    const std::lock_guard lock(mutex_);
    if (!next_.isEmpty()) {
        return next_.takeFirst();
    }
    if (const auto exact = byCommand_.constFind(command); exact != byCommand_.constEnd()) {
        return *exact;
    }
    const QString code = command.section(QLatin1Char('#'), 0, 0);
    if (const auto byCode = byCode_.constFind(code); byCode != byCode_.constEnd()) {
        return *byCode;
    }
    return default_;
}

void ScriptedRoomPlayer::answerCommand(const QString& command, Answer answer) {
    const std::lock_guard lock(mutex_);
    byCommand_.insert(command, std::move(answer));
}

void ScriptedRoomPlayer::answerCode(const QString& code, Answer answer) {
    const std::lock_guard lock(mutex_);
    byCode_.insert(code, std::move(answer));
}

void ScriptedRoomPlayer::answerNext(Answer answer) {
    const std::lock_guard lock(mutex_);
    next_ << std::move(answer);
}

void ScriptedRoomPlayer::answerDefault(Answer answer) {
    const std::lock_guard lock(mutex_);
    default_ = std::move(answer);
}

void ScriptedRoomPlayer::resetScript() {
    const std::lock_guard lock(mutex_);
    byCommand_.clear();
    byCode_.clear();
    next_.clear();
    default_ = Answer::Reply(QStringLiteral("6"));
}

QStringList ScriptedRoomPlayer::received() const {
    const std::lock_guard lock(mutex_);
    QStringList commands;
    for (const Request& request : requests_) {
        commands << request.command;
    }
    return commands;
}

QList<ScriptedRoomPlayer::Request> ScriptedRoomPlayer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptedRoomPlayer::clearReceived() {
    const std::lock_guard lock(mutex_);
    requests_.clear();
}

}  // namespace testsupport
