// The playback progress: the bar, the elapsed time and the now-playing labels.
// The room player plays the songs; between its replies the console counts the
// elapsed seconds itself, one per tick of Timer1.
#include "app/umodule.h"
#include "console/uplayer.h"

namespace {

// How long the room player gets to settle on its playlist before the labels
// are refreshed after a progress question.
constexpr int kSettleMilliseconds = 150;
// A seek never lands this close to the song's end.
constexpr int kSeekMargin = 5;

}  // namespace

void Tfplayer::WirePlayer() {
    connect(Timer1, &QTimer::timeout, this, &Tfplayer::Timer1Timer);
    connect(ProgBar, &RangeSlider::positionRightChanged, this, &Tfplayer::ProgBarChange);
    connect(ProgBar, &RangeSlider::released, this, &Tfplayer::ProgBarMouseUp);
}

QString Tfplayer::ElapsedText(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void Tfplayer::ResetElapsed() {
    ProgBar->setPositionRight(0);
    spnDurWmp->setValue(0);
    lblwmp->setText(QStringLiteral("00:00"));
}

void Tfplayer::Timer1Timer() {
    Guarded(QStringLiteral("Timer1Timer "), [this] {
        if (bacaDurasiwmp == 1) {
            Kirim(QStringLiteral("33#"));
            RedrawPlaylist();
            platform_.Sleep(kSettleMilliseconds);
            OnTextPlay(onplay);
        }
        ProgBar->setPositionRight(ProgBar->positionRight() + 1);
        if (ProgBar->positionRight() > ProgBar->maximum() - 1) {
            // The count reached the song's length: ask the room player next tick.
            ResetElapsed();
            bacaDurasiwmp = 1;
            OnTextPlay(0);
        }
        spnDurWmp->setValue(ProgBar->positionRight());
        lblwmp->setText(ElapsedText(ProgBar->positionRight()));
    });
}

void Tfplayer::ProgBarChange() {
    Unguarded([this] {
        if (bpause || onplay != 0) {
            return;
        }
        // Undoing a step raises this handler once more, with nothing left to undo.
        ResetElapsed();
    });
}

void Tfplayer::ProgBarMouseUp() {
    Unguarded([this] {
        if (ProgBar->positionRight() > ProgBar->maximum() - kSeekMargin) {
            ProgBar->setPositionRight(ProgBar->maximum() - kSeekMargin);
        }
        if (onplay != 0) {
            Kirim(QStringLiteral("34#") + QString::number(ProgBar->positionRight()));
        } else {
            ResetElapsed();
        }
    });
}

void Tfplayer::OnTextPlay(int Icontrol) {
    Guarded(QStringLiteral("OntextPlay "), [&] {
        if (Icontrol == 0) {
            Lblnowplay->setText(QStringLiteral("No Song"));
            lblnextsong->setText(QStringLiteral("No Song"));
            return;
        }
        module_.Connected();
        SpCall.SetText(QStringLiteral("SelectLaguView(%1)").arg(Icontrol));
        SpCall.Open();
        Lblnowplay->setText(SpCall.FieldByName(QStringLiteral("judul")).AsString() +
                            QStringLiteral(" - ") +
                            SpCall.FieldByName(QStringLiteral("artis")).AsString());
        if (lvPlaylistnNew->isEmpty()) {
            lblnextsong->setText(QStringLiteral("No Song"));
            return;
        }
        // The playlist row is "<html>" title " - " artist "</html>".
        QString next = lvPlaylistnNew->item(0).notes;
        if (next.startsWith(QLatin1String("<html>"))) {
            next.remove(0, 6);
        }
        if (next.endsWith(QLatin1String("</html>"))) {
            next.chop(7);
        }
        lblnextsong->setText(next);
    });
}
