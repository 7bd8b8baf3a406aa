// The playback progress: the bar, the elapsed time and the now-playing labels.
#include "app/umodule.h"
#include "console/uplayer.h"

QString Tfplayer::ElapsedText(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
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
