// consoleshot: the whole console window, skin and native controls, rendered to
// a PNG on Qt's offscreen platform, with sample content in its lists and
// labels as a booking in progress shows them. It runs in a temporary program
// folder and contacts nothing: no database, no room player.
//
//   consoleshot [--standby] [--strip] [--show NAME]... [--error-dialog DIALOG.png]
//               [--wait MS] TOOLS_DIR OUT.png
//
// --show shows a control by its name over the rest, e.g. PanelOrder or
// Panel_Request.
//
// TOOLS_DIR is a program folder's "tools" directory (the build's run/tools).
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

// Shows nothing, waits for nothing, knows no network: the picture needs none.
class QuietPlatform : public IPlatform {
public:
    QString ComputerName() override { return QStringLiteral("TABLET-07"); }
    QString HostName() override { return QStringLiteral("tablet-07"); }
    QList<InterfaceAddresses> NetworkInterfaces() override { return {}; }
    void SynchroniseClock(const QString&) override {}
    void ShowMessage(const QString&) override {}
    bool ConfirmYesCancel(const QString&) override { return false; }
    void Sleep(int) override {}
    bool IsInternetConnected() override { return true; }
    int BatteryPercent() override { return 80; }
};

bool CopyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target)) {
            return false;
        }
    }
    return true;
}

struct SampleSong {
    const char* judul;
    const char* artis;
};

// A row as the song list and the playlist build theirs: title and artist cut
// to width characters, with between them.
QString RowNotes(const SampleSong& song, int width, const QString& between) {
    return QStringLiteral("<html>") +
           Tfplayer::TruncateWithEllipsis(QString::fromUtf8(song.judul), width) + between +
           Tfplayer::TruncateWithEllipsis(QString::fromUtf8(song.artis), width) +
           QStringLiteral("</html>");
}

// What the lists and labels hold an hour into a booking.
void FillSampleContent(Tfplayer& player) {
    const SampleSong songs[] = {
        {"CINTA DI UJUNG SENJA", "NADA PELANGI"},
        {"CINTA SELAMANYA", "RATNA SARI"},
        {"CINTA TAK BERSYARAT", "BAND LANGIT"},
        {"CINTAKU PADAMU", "DIMAS ARYA"},
        {"CINTA PUTIH", "SEKAR AYU"},
        {"CINTA YANG HILANG", "ORKES BINTANG"},
        {"CINTA DALAM DIAM", "KARINA PUTRI"},
        {"CINTA PERTAMA", "LARAS WULAN"},
    };
    int id = 100;
    for (const SampleSong& song : songs) {
        ++id;
        player.AdvSonglist->addItem({.notes = RowNotes(song, 30, QStringLiteral("<IND x=\"350\">")),
                                     .tag = id,
                                     .hint = QString::number(id)});
    }
    player.AdvSonglist->setSelectedIndex(1);

    const SampleSong queue[] = {{"MALAM MINGGU", "BAND LANGIT"},
                                {"SAMUDRA BIRU", "RATNA SARI"},
                                {"LAGU UNTUKMU", "DIMAS ARYA"},
                                {"RINDU RUMAH DI DESA", "SEKAR AYU"}};
    int position = 0;
    for (const SampleSong& song : queue) {
        ++position;
        player.lvPlaylistnNew->addItem({.notes = RowNotes(song, 15, QStringLiteral(" - ")),
                                        .tag = position,
                                        .hint = QString::number(200 + position),
                                        .caption = QStringLiteral("K%1").arg(position)});
    }
    player.lvPlaylistnNew->setSelectedIndex(0);
    player.lblCountPlaylist->setText(QString::number(position));

    {
        // Only the text: no search starts.
        const QSignalBlocker quiet(player.edtcari);
        player.edtcari->setText(QStringLiteral("CINTA"));
    }
    // What the preparation sequence and the booking leave in the labels.
    player.lvkategori->hide();
    player.lbluser->setText(QStringLiteral("KesTrel"));
    player.lbljam->setText(QStringLiteral("00:00"));
    player.lblUserNow->setText(QStringLiteral("RINA & FRIENDS"));
    player.Lblnowplay->setText(QStringLiteral("SAMPAI JUMPA LAGI - NADA PELANGI"));
    player.lblnextsong->setText(QStringLiteral("MALAM MINGGU - BAND LANGIT"));
    player.onplay = 812;
    player.ProgBar->setMaximum(240);
    player.ProgBar->setPositionRight(102);
    player.lblwmp->setText(Tfplayer::ElapsedText(102));
    player.Progbattery->setValue(80);

    const struct {
        const char* path;
        const char* value;
    } variables[] = {
        {"_root.isimusic.text", "70"},
        {"_root.isimic.text", "6"},
        {"_root.isikey.text", "2"},
        {"_root.nomer_vocal.text", "0"},
        {"_root.txt_kategori.text", "INDONESIA"},
        {"_root.isitextdurasi.text", "01:24:37"},
    };
    for (const auto& variable : variables) {
        player.MainSkinNew->SetVariable(QString::fromLatin1(variable.path),
                                        QString::fromLatin1(variable.value));
    }
}

int Fail(const QString& message) {
    std::fprintf(stderr, "consoleshot: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
    }
    qputenv("LYRABOX_LOOPBACK_ONLY", "1");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders the console window with its skin to a PNG."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("standby"), QStringLiteral("Show the standby screen.")});
    parser.addOption({QStringLiteral("strip"), QStringLiteral("Include the diagnostic strip.")});
    parser.addOption({QStringLiteral("show"), QStringLiteral("Show the control named NAME."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("error-dialog"),
                      QStringLiteral("Also render the connection-error dialog to FILE."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("wait"),
                      QStringLiteral("Let the skin run MS milliseconds before the picture."),
                      QStringLiteral("MS"), QStringLiteral("600")});
    parser.addPositionalArgument(QStringLiteral("tools"),
                                 QStringLiteral("A program folder's tools directory."));
    parser.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The PNG to write."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        parser.showHelp(2);
    }
    const QString toolsDir = QFileInfo(args[0]).absoluteFilePath();
    const QString outFile = QFileInfo(args[1]).absoluteFilePath();
    if (!QFileInfo::exists(toolsDir + QStringLiteral("/gambar/main.qml"))) {
        return Fail(toolsDir + "/gambar/main.qml not found");
    }

    // A program folder of its own: the console writes its log there on the way out.
    QTemporaryDir folder;
    if (!folder.isValid() || !CopyTree(toolsDir, folder.filePath(QStringLiteral("tools")))) {
        return Fail(QStringLiteral("cannot lay out a program folder"));
    }
    QFile ini(folder.filePath(QStringLiteral("setting.ini")));
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write(QByteArray("[PlayerKaraoke]\nServerLaguHost=127.0.0.1\nMonitorPerintah=") +
                  (parser.isSet(QStringLiteral("strip")) ? "1" : "0") +
                  "\n[Transaksi]\nServerTransaksi=127.0.0.1\n") < 0) {
        return Fail(QStringLiteral("cannot write setting.ini"));
    }
    ini.close();
    QDir::setCurrent(folder.path());

    QuietPlatform platform;
    Tfmodule module;
    int status = 0;
    {
        Tfplayer player(module, platform);
        // The picture is of one moment: no timer moves anything on.
        for (QTimer* timer : {player.TimerPreparation, player.TmrHandle, player.Tmrbattery,
                              player.Timer1, player.tmrsearching}) {
            timer->stop();
        }
        if (!player.MainSkinNew->SkinLoaded()) {
            status = Fail(QStringLiteral("the skin did not load"));
        }
        player.AdvPanel1->hide();
        player.pnlStanby->setVisible(parser.isSet(QStringLiteral("standby")));
        player.setEnabled(true);
        player.show();
        QApplication::processEvents();
        // Filled once the lists know their size, so that a selection scrolls
        // only as far as it must.
        FillSampleContent(player);
        if (parser.isSet(QStringLiteral("standby"))) {
            const QSignalBlocker quiet(player.edtscan);
            player.edtscan->setText(QStringLiteral("1111"));
        }
        for (const QString& name : parser.values(QStringLiteral("show"))) {
            QWidget* control = player.findChild<QWidget*>(name);
            if (control == nullptr) {
                status = Fail(QStringLiteral("no control named ") + name);
                break;
            }
            control->show();
            control->raise();
        }

        bool ok = false;
        const int wait = parser.value(QStringLiteral("wait")).toInt(&ok);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < (ok ? wait : 600)) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        const QImage image = player.grab().toImage();
        if (status == 0 && !image.save(outFile, "PNG")) {
            status = Fail(QStringLiteral("cannot write ") + outFile);
        } else if (status == 0) {
            std::printf("%s: %dx%d\n", qPrintable(outFile), image.width(), image.height());
        }
        if (status == 0 && parser.isSet(QStringLiteral("error-dialog"))) {
            TFrmError dialog(player);
            dialog.show();
            QApplication::processEvents();
            const QString dialogFile =
                QFileInfo(parser.value(QStringLiteral("error-dialog"))).absoluteFilePath();
            if (!dialog.grab().save(dialogFile, "PNG")) {
                status = Fail(QStringLiteral("cannot write ") + dialogFile);
            }
        }
        // Leaving: the link counts as lost, so the goodbye contacts no one.
        player.perintahSucces = 0;
    }
    return status;
}
