// The room playlist: reloading it from the songs database.
#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/uplayer.h"

void Tfplayer::PlaylistView(int urutan) {
    int rows = 0;
    std::exception_ptr failure;
    try {
        ADOplaylistnew.SetText(QStringLiteral("ListPlayList(") +
                               sqltext::QuotedStr(Sys_Room->text()) + QStringLiteral(");"));
        module_.Connected();
        ADOplaylistnew.Open();
        rows = static_cast<int>(ADOplaylistnew.RecordCount());
        if (rows == 0) {
            ADOplaylistnew.Close();
            lblCountPlaylist->setText(QStringLiteral("0"));
            lvPlaylistnNew->clear();
            OnTextPlay(onplay);
        } else {
            lvPlaylistnNew->clear();
            const SmoothListBox::UpdateScope update(*lvPlaylistnNew);
            for (ADOplaylistnew.First(); !ADOplaylistnew.Eof(); ADOplaylistnew.Next()) {
                const auto field = [this](const char* name) {
                    return ADOplaylistnew.FieldByName(QString::fromLatin1(name));
                };
                lvPlaylistnNew->addItem(
                    {.notes = QStringLiteral("<html>") +
                              TruncateWithEllipsis(field("judul").AsString(), 15) +
                              QStringLiteral(" - ") +
                              TruncateWithEllipsis(field("artis").AsString(), 15) +
                              QStringLiteral("</html>"),
                     .tag = field("idplaylist").AsInteger(),
                     .hint = QString::number(field("idlagu").AsInteger()),
                     .caption = field("ukey").AsString()});
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    ADOplaylistnew.Close();
    lblCountPlaylist->setText(QString::number(rows));
    lvPlaylistnNew->setSelectedIndex(0);
    lvPlaylistnNew->setSelectedIndex(urutan);
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (rows > 0) {
        // The reload stands even when the now-playing refresh fails.
        Silent([this] { OnTextPlay(onplay); });
    }
}
