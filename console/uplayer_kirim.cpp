// The command exchange with the room player: one connection, one request and
// one reply per command, and the reply applied to the console by its status.
#include <QScopeGuard>
#include <algorithm>
#include <stdexcept>

#include "app/numbertext.h"
#include "console/playerexchange.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

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

// The music volume as the console keeps it: the room player's number, within
// the 0 to 100 that the skin and the volume keys work in.
int Volume(const QString& text) {
    return std::clamp(Number(text), 0, 100);
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
}

}  // namespace

bool Tfplayer::Kirim(const QString& siPesan) {
    if (perintahSucces == 0) {
        // The link is lost: wait and probe instead of sending. A closing
        // console has nothing left to wait for.
        if (!closing_) {
            EnterWaitLoop();
        }
        return false;
    }
    TExchangeOutcome outcome;
    if (IMCClient) {
        outcome = ExchangeCommand(*IMCClient, PlayerAddress(), ToU16(siPesan), kConnectLimit);
    } else {
        outcome.failed = true;
        outcome.failure = "The message client was not created";
    }
    return TakeAnswer(siPesan, outcome);
}

std::string Tfplayer::PlayerAddress() const {
    return (SYS_IP->text() + QLatin1Char(':') + QString::number(Sys_Port->value())).toStdString();
}

bool Tfplayer::TakeAnswer(const QString& siPesan, const TExchangeOutcome& outcome) {
    QString failure;
    bool failed = outcome.failed;
    bool answered = false;
    if (failed) {
        failure = QString::fromStdString(outcome.failure);
    } else {
        perintahSucces = 1;
        const auto cleanUp = qScopeGuard([this] {
            LBMain->clear();
            LBDetails->clear();
        });
        if (outcome.answerValid) {
            const QString text = QString::fromLatin1(outcome.text);
            Memo1->appendPlainText(text);
            if (text.isEmpty()) {
                // The room player answered nothing: the next send reconnects.
                perintahSucces = 0;
            }
            answered = !text.isEmpty();
            try {
                ApplyReply(text);
            } catch (const std::exception& error) {
                failed = true;
                failure = QString::fromUtf8(error.what());
            } catch (...) {
                failed = true;
            }
        } else if (outcome.timedOut) {
            // A room player that takes the command and does not answer in time
            // is as good as gone: waiting on it again with the next tap or tick
            // would freeze the touch screen once more.
            qWarning(
                "lyrabox: the room player did not answer \"%s\" within %u ms; "
                "the link counts as lost",
                qPrintable(siPesan), kReplyLimit);
            MarkLinkLost();
        } else {
            // The command went out and no proper answer came back (the room
            // player's failure marker, a dropped connection): the guest is told
            // nothing and the command is dropped, but the venue's journal hears
            // of it.
            qWarning("lyrabox: the room player gave no answer to \"%s\": %s", qPrintable(siPesan),
                     outcome.errorDesc.empty() ? "no reply" : outcome.errorDesc.c_str());
        }
    }
    if (failed) {
        WriteLog(QStringLiteral("Kirim "), failure);
        if (!failure.isEmpty() && !closing_) {
            ShowConnectionError(failure);
        }
    }
    if (answered && greetingPending_ && !closing_) {
        // The room player is back and has not heard that the room went active.
        GreetRoomPlayer();
    }
    return answered;
}

void Tfplayer::MarkLinkLost() {
    perintahSucces = 0;
    Timer1->stop();
    if (!closing_ && !InWaitLoop()) {
        EnterWaitLoop();
    }
}

void Tfplayer::ShowConnectionError(const QString& message) {
    if (InWaitLoop()) {
        // The guest decides now: "Coba Lagi" waits again, "Batalkan Perintah"
        // goes on without the room player.
        TimerPreparation->stop();
        AdvPanel1->hide();
    }
    // Until then the monitor does not start waiting by itself.
    linkGivenUp_ = true;
    if (errorDialog_ == nullptr) {
        errorDialog_ = new TFrmError(*this);
    }
    errorDialog_->SetDetail(message);
    errorDialog_->show();
    errorDialog_->raise();
    setEnabled(false);
    Timer1->stop();
}

void Tfplayer::ApplyReply(const QString& reply) {
    ParseDelimited(LBMain, reply, QStringLiteral("#"));
    const QString status = LBMain->count() > 0 ? LBMain->item(0)->text() : QString();
    // The songs database failing under a redraw is no news about the room
    // player: it is logged, the rest of the reply still applies and the link
    // keeps its state.
    const auto redrawPlaylist = [this] {
        Guarded(QStringLiteral("Kirim "), [this] { RedrawPlaylist(); });
    };

    if (status == QLatin1String("0")) {
        // Nothing plays.
        redrawPlaylist();
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
        VolPlayer = Volume(Field(LBDetails, 0));
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
            redrawPlaylist();
            ProgBar->setMinimum(0);
            ProgBar->setPositionRight(0);
            // Every song starts in its own key: the key readout shows no shift.
            MainSkinNew->SetVariable(QStringLiteral("_root.isikey.text"), QStringLiteral("0"));
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
        if (Number(Field(LBMain, 2)) != 0) {
            // The length is known now, as with a new song's: asking again on
            // every tick would redraw the playlist under the guest's finger.
            bacaDurasiwmp = 0;
        }
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
        VolPlayer = Volume(Field(LBMain, 1));
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
