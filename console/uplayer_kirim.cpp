// The command exchange with the room player: one connection, one request and
// one reply per command, and the reply applied to the console by its status.
#include <QScopeGuard>
#include <stdexcept>

#include "app/numbertext.h"
#include "console/skinhost.h"
#include "console/uplayer.h"
#include "link/tmessagedata.h"

namespace {

constexpr uint32_t kConnectTimeout = 10000;

// Field i of a reply list; a reply that is too short fails here.
QString Field(const QListWidget* list, int i) {
    if (i >= list->count()) {
        throw std::out_of_range(
            QStringLiteral("List index out of bounds (%1)").arg(i).toStdString());
    }
    return list->item(i)->text();
}

int Number(const QString& text) {
    return numbertext::StrToInt(text);
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
}

}  // namespace

void Tfplayer::Kirim(const QString& siPesan) {
    if (perintahSucces == 0) {
        // The link is lost: wait and probe instead of sending.
        EnterWaitLoop();
        return;
    }
    QString failure;
    bool failed = false;
    {
        const auto cleanUp = qScopeGuard([this] {
            if (IMCClient) {
                IMCClient->DisconnectClient();
            }
            LBMain->clear();
            LBDetails->clear();
        });
        try {
            if (!IMCClient) {
                throw std::runtime_error("The message client was not created");
            }
            IMCClient->SetServerAddress(
                (SYS_IP->text() + QLatin1Char(':') + QString::number(Sys_Port->value()))
                    .toStdString());
            IMCClient->ConnectClient(kConnectTimeout);
            if (IMCClient->IsConnected()) {
                perintahSucces = 1;
                TMessageData request;
                request.SetID(ToU16(siPesan));
                request.Data().WriteUTF8String(u"Command", "Synchronous");
                const std::shared_ptr<IMessageData> reply =
                    IMCClient->ExecuteConnectedRequest(request);
                if (IMCClient->AnswerValid()) {
                    const QString text =
                        QString::fromLatin1(reply->Data().ReadUTF8String(u"String"));
                    Memo1->appendPlainText(text);
                    if (text.isEmpty()) {
                        // The room player answered nothing: the next send reconnects.
                        IMCClient->DisconnectClient();
                        perintahSucces = 0;
                    }
                    ApplyReply(text);
                } else {
                    // The command went out and no answer came back: the guest is
                    // told nothing and the command is dropped, but the venue's
                    // journal hears of it.
                    const std::string& why = IMCClient->ErrorDesc();
                    qWarning("lyrabox: the room player gave no answer to \"%s\": %s",
                             qPrintable(siPesan), why.empty() ? "no reply" : why.c_str());
                }
            }
        } catch (const std::exception& error) {
            failed = true;
            failure = QString::fromUtf8(error.what());
        } catch (...) {
            failed = true;
        }
    }
    if (failed) {
        WriteLog(QStringLiteral("Kirim "), failure);
        if (!failure.isEmpty()) {
            ShowConnectionError();
        }
    }
}

void Tfplayer::ShowConnectionError() {
    errorDialogs_.push_back(std::make_unique<TFrmError>(*this));
    errorDialogs_.back()->show();
    setEnabled(false);
    Timer1->stop();
}

void Tfplayer::ApplyReply(const QString& reply) {
    ParseDelimited(LBMain, reply, QStringLiteral("#"));
    const QString status = LBMain->count() > 0 ? LBMain->item(0)->text() : QString();

    if (status == QLatin1String("0")) {
        // Nothing plays.
        PlaylistView(0);
        bacaDurasiwmp = 0;
        ResetElapsed();
        if (!bpause) {
            OnTextPlay(0);
        }
        Timer1->stop();
    } else if (status == QLatin1String("1")) {
        // Room settings: volume, microphone, condition.
        kondisi = QStringLiteral("9");
        ParseDelimited(LBDetails, Field(LBMain, 1), QStringLiteral(";"));
        VolPlayer = Number(Field(LBDetails, 0));
        MainSkinNew->SetVariable(QStringLiteral("_root.isimusic.text"), Field(LBDetails, 0));
        MainSkinNew->SetVariable(QStringLiteral("_root.isimic.text"), Field(LBDetails, 1));
        kondisi = Field(LBDetails, 2);
    } else if (status == QLatin1String("2")) {
        MainSkinNew->SetVariable(QStringLiteral("_root.isimic.text"), Field(LBMain, 1));
    } else if (status == QLatin1String("3")) {
        MainSkinNew->SetVariable(QStringLiteral("_root.isikey.text"), Field(LBMain, 1));
    } else if (status == QLatin1String("4")) {
        // Restart the progress and ask for it on the next tick.
        Timer1->stop();
        bacaDurasiwmp = 1;
        Timer1->start();
    } else if (status == QLatin1String("5")) {
        // A new song: its length and id.
        const QString length = Field(LBMain, 1);
        const QString song = Field(LBMain, 2);
        if (song == QLatin1String("0")) {
            Timer1->stop();
            ResetElapsed();
        } else if (length == QLatin1String("0")) {
            bacaDurasiwmp = 1;
            Timer1->start();
        } else {
            // The song that starts is the one now playing before the redraw
            // refreshes the labels, and the bar counts it from 0 also when the
            // room was idle (a first song saved, or played, with nothing
            // playing): otherwise the labels kept naming the previous song, or
            // "No Song", and the bar stood still for the whole song.
            onplay = Number(song);
            ProgBar->setMaximum(Number(length));
            SpinEdit1->setValue(Number(length));
            PlaylistView(0);
            ProgBar->setMinimum(0);
            ProgBar->setPositionRight(0);
            MainSkinNew->SetVariable(QStringLiteral("_root.isikey.text"), QStringLiteral("5"));
            bacaDurasiwmp = 0;
            Timer1->start();
        }
        onplay = Number(song);
    } else if (status == QLatin1String("7")) {
        // Progress: elapsed and length.
        ProgBar->setPositionRight(Number(Field(LBMain, 1)));
        ProgBar->setMinimum(0);
        ProgBar->setMaximum(Number(Field(LBMain, 2)));
        spnDurWmp->setValue(ProgBar->positionRight());
        lblwmp->setText(ElapsedText(ProgBar->positionRight()));
    } else if (status == QLatin1String("8")) {
        // Pause or resume.
        if (Timer1->isActive()) {
            Timer1->stop();
        } else {
            ProgBar->setPositionRight(Number(Field(LBMain, 1)));
            Timer1->start();
            bpause = false;
            OnTextPlay(onplay);
        }
    } else if (status == QLatin1String("9")) {
        VolPlayer = Number(Field(LBMain, 1));
        MainSkinNew->SetVariable(QStringLiteral("_root.isimusic.text"), Field(LBMain, 1));
    } else if (status == QLatin1String("10")) {
        MainSkinNew->SetVariable(QStringLiteral("_root.isimic.text"), Field(LBMain, 1));
    } else if (status == QLatin1String("11")) {
        // The whole playback state: song, length, elapsed, microphone.
        ParseDelimited(LBDetails, Field(LBMain, 1), QStringLiteral(";"));
        onplay = Number(Field(LBDetails, 0));
        OnTextPlay(onplay);
        ProgBar->setMaximum(Number(Field(LBDetails, 1)));
        ProgBar->setPositionRight(Number(Field(LBDetails, 2)));
        MainSkinNew->SetVariable(QStringLiteral("_root.isimic.text"), Field(LBDetails, 3));
        bacaDurasiwmp = 0;
        Timer1->start();
    }
}
