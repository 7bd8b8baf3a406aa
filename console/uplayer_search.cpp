// The catalogue search: the song list filled in two stages while the guest
// types, and the skin's keys that type into the search text.
#include <algorithm>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

bool IsAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

}  // namespace

QString Tfplayer::SearchPattern(const QString& keyword) {
    // The order matters: a typed "%" ends up escaped, a blank becomes a wildcard
    // between words, and no backslash of the guest's can escape anything.
    QString pattern = keyword;
    pattern.remove(QLatin1Char('\\'));
    pattern.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    return pattern;
}

int Tfplayer::KeywordClass(const QString& keyword) {
    return std::all_of(keyword.cbegin(), keyword.cend(), IsAsciiLetterOrDigit) ? 2 : 1;
}

void Tfplayer::CariProcedur(int MYlimit, int TiSing, int siGol, int siKat, int siMod,
                            const QString& keyword) {
    const QString pattern = SearchPattern(keyword);
    const QString titlePattern = TiSing == 1 ? pattern : QString();
    const QString artistPattern = TiSing == 1 ? QString() : pattern;
    const bool firstStage = MYlimit == 0;
    if (firstStage) {
        AdvSonglist->clear();
    }
    const int offset = firstStage ? 0 : kFirstStageCount;
    const int count = firstStage ? kFirstStageCount : kSecondStageCount;
    const int keywordClass = edtcari->text().isEmpty() ? 1 : KeywordClass(keyword);

    // A failed stage keeps what the list got, says so over the playlist, and
    // the next keystroke searches again.
    Silent([&] {
        int resultRows = 0;
        std::exception_ptr failure;
        try {
            const QString text = sqltext::CallText(
                QStringLiteral("CariJudulArtis"),
                {qint64{keywordClass}, qint64{siGol}, qint64{siKat}, qint64{siMod}, titlePattern,
                 artistPattern, qint64{offset}, qint64{count}});
            AdoSpFlast.SetText(text);
            Edit2->setText(text);
            module_.Connected();
            AdoSpFlast.Open();
            {
                const SmoothListBox::UpdateScope update(*AdvSonglist);
                for (AdoSpFlast.First(); !AdoSpFlast.Eof(); AdoSpFlast.Next()) {
                    const int idlagu = AdoSpFlast.FieldByName(QStringLiteral("idlagu")).AsInteger();
                    AdvSonglist->addItem(
                        {.notes =
                             QStringLiteral("<html>") +
                             TruncateWithEllipsis(
                                 AdoSpFlast.FieldByName(QStringLiteral("judul")).AsString(), 30) +
                             QStringLiteral("<IND x=\"350\">") +
                             TruncateWithEllipsis(
                                 AdoSpFlast.FieldByName(QStringLiteral("artis")).AsString(), 30) +
                             QStringLiteral("</html>"),
                         .tag = idlagu,
                         .hint = QString::number(idlagu)});
                }
            }
            resultRows = static_cast<int>(AdoSpFlast.RecordCount());
        } catch (...) {
            failure = std::current_exception();
        }
        AdoSpFlast.Close();
        // A new search starts on its first row; the second stage only adds rows
        // below, and a row the guest tapped meanwhile stays the chosen song.
        if (resultRows > 0 && !AdvSonglist->isEmpty() &&
            (firstStage || AdvSonglist->selectedIndex() < 0)) {
            AdvSonglist->setSelectedIndex(0);
        }
        // The next database use connects again.
        module_.AdoConn.Close();
        if (failure) {
            lblNotice->showNotice(SearchFailedNotice());
            std::rethrow_exception(failure);
        }
    });
}

void Tfplayer::tmrsearchingTimer() {
    Guarded(QStringLiteral("Timer Searching "), [this] {
        ++keytime;
        if (keytime == 1) {
            CariProcedur(0, cbtitsing->currentIndex(), pSiGol, pSiKat, cbMode->currentIndex(),
                         edtcari->text());
        }
        if (keytime == 10) {
            CariProcedur(1, cbtitsing->currentIndex(), pSiGol, pSiKat, cbMode->currentIndex(),
                         edtcari->text());
            tmrsearching->stop();
        }
    });
}

void Tfplayer::RestartSearch() {
    keytime = 0;
    // Enabling a running timer keeps its rhythm, so fast typing still gets a
    // first stage every tick.
    if (!tmrsearching->isActive()) {
        tmrsearching->start();
    }
}

void Tfplayer::edtcariChange() {
    RestartSearch();
}

void Tfplayer::cbModeChange() {
    RestartSearch();
}

void Tfplayer::cbtitsingChange() {
    RestartSearch();
}

void Tfplayer::TypeSearchKey(const QString& character) {
    edtcari->setText(edtcari->text() + character);
    Kirim(QStringLiteral("0#") + character);
}

void Tfplayer::ChooseListMode(int mode) {
    cbMode->setCurrentIndex(mode);
    keytime = 0;
    pSiGol = 0;
    MainSkinNew->SetVariable(QStringLiteral("_root.txt_kategori.text"), QStringLiteral("ALL"));
    RestartSearch();
    Kirim(QStringLiteral("40#") + QString::number(mode));
}

void Tfplayer::RegisterSearchKeyCommands() {
    static const char kCharacterKeys[] = "qwertyuiopasdfghjklzxcvbnm1234567890!@#%$&*().,-'^:;";
    for (const char* key = kCharacterKeys; *key != '\0'; ++key) {
        const QString character{QLatin1Char(*key)};
        AddCommand(character, [this, character] { TypeSearchKey(character); });
    }
    AddCommand(QStringLiteral("space"), [this] {
        edtcari->setText(edtcari->text() + QLatin1Char(' '));
        Kirim(QStringLiteral("0#SP"));
    });
    AddCommand(QStringLiteral("backspace"), [this] {
        QString text = edtcari->text();
        text.chop(1);  // nothing to remove from an empty text; the key is mirrored anyway
        edtcari->setText(text);
        Kirim(QStringLiteral("0#BC"));
    });
    AddCommand(QStringLiteral("clear"), [this] {
        edtcari->setText(QString());
        platform_.Sleep(50);
        Kirim(QStringLiteral("35#"));
    });
    const struct {
        const char* command;
        int target;
    } targets[] = {{"tittle", 1}, {"singer", 0}};
    for (const auto& [command, target] : targets) {
        AddCommand(QString::fromLatin1(command), [this, target] {
            cbtitsing->setCurrentIndex(target);
            RestartSearch();
            Kirim(QStringLiteral("29#") + QString::number(target));
        });
    }
    const struct {
        const char* command;
        int mode;
    } modes[] = {{"songlist", 0}, {"top", 1}, {"popular", 3}};
    for (const auto& [command, mode] : modes) {
        AddCommand(QString::fromLatin1(command), [this, mode] { ChooseListMode(mode); });
    }
}
