#include "support/console_fixture.h"

#include <QRegularExpression>

#include "console/skinhost.h"

namespace testsupport {

void ConsoleFixture::SetUp() {
    folder.copyTools();
    module = std::make_unique<Tfmodule>();
    player_ = std::make_unique<Tfplayer>(*module, platform);
    Tfplayer& player = *player_;
    ASSERT_NE(player.IMCClient, nullptr)
        << "creation failed: " << logLines().join('\n').toStdString();
    QObject::connect(player.MainSkinNew, &TSkinHost::VariableWritten,
                     [this](const QString& path, const QString& value) {
                         skinWrites_.append({path, value});
                     });
    // What the preparation sequence leaves behind once the room is known.
    player.TimerPreparation->stop();
    player.AdvPanel1->hide();
    player.pnlStanby->hide();
    player.setEnabled(true);
    player.SYS_IP->setText(room.host());
    player.Sys_Port->setValue(room.port());
    player.Sys_Room->setText(roomName());
    player.perintahSucces = 1;
    setUpLogLines_ = static_cast<int>(logLines().size());
}

void ConsoleFixture::TearDown() {
    closeConsole();
}

void ConsoleFixture::closeConsole() {
    // The window says goodbye ("GI#") while the room player still listens,
    // and gets a prompt answer whatever the test scripted.
    room.resetScript();
    player_.reset();
}

void ConsoleFixture::skinCommand(const QString& command) {
    player_->MainSkinNewFSCommand(command, QString());
}

QStringList ConsoleFixture::logLines() const {
    return player_->MemLog->toPlainText().split(QLatin1Char('\n'));
}

QStringList ConsoleFixture::logEntries() const {
    static const QRegularExpression head(QStringLiteral(R"(^\*\d\d:\d\d:\d\d =>)"));
    QStringList entries;
    const QStringList lines = logLines();
    for (qsizetype i = setUpLogLines_; i < lines.size(); ++i) {
        QString line = lines[i];
        const QRegularExpressionMatch match = head.match(line);
        entries << (match.hasMatch() ? line.mid(match.capturedLength()) : line);
    }
    return entries;
}

std::optional<QString> ConsoleFixture::skinVariable(const QString& path) const {
    for (qsizetype i = skinWrites_.size() - 1; i >= 0; --i) {
        if (skinWrites_[i].first == path) {
            return skinWrites_[i].second;
        }
    }
    return std::nullopt;
}

void ConsoleFixture::clearRecords() {
    room.clearReceived();
    skinWrites_.clear();
}

}  // namespace testsupport
