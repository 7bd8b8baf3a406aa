#include "console/uplayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTime>
#include <stdexcept>

#include "app/umodule.h"
#include "console/skinhost.h"

Tfplayer* fplayer = nullptr;

namespace {

constexpr int kWidth = 1280;
constexpr int kSkinHeight = 768;
constexpr int kDiagnosticHeight = 1068;

QTimer* MakeTimer(QObject* owner, const char* name, int interval) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(interval);
    return timer;
}

QWidget* MakePanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAttribute(Qt::WA_StyledBackground);
    return panel;
}

}  // namespace

Tfplayer::Tfplayer(Tfmodule& module, IPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      module_(module),
      platform_(platform) {
    setObjectName(QStringLiteral("fplayer"));
    setWindowTitle(QStringLiteral("player"));
    setStyleSheet(QStringLiteral("#fplayer { background: black; }"));
    // Designed with its diagnostic strip; creation shrinks it when the strip is off.
    resize(kWidth, kDiagnosticHeight);

    MemLog = new QPlainTextEdit(this);
    MemLog->setObjectName(QStringLiteral("MemLog"));
    MemLog->setPlainText(QStringLiteral("MemLog"));
    MemLog->hide();

    MainSkinNew = new TSkinHost(this);
    MainSkinNew->setObjectName(QStringLiteral("MainSkinNew"));
    MainSkinNew->setGeometry(0, 0, kWidth, kSkinHeight);

    pnlStanby = MakePanel(this, "pnlStanby");
    PanelOrder = MakePanel(this, "PanelOrder");
    PanelViewOrder = MakePanel(PanelOrder, "PanelViewOrder");
    PnlVerify = MakePanel(PanelOrder, "PnlVerify");
    Panel_Request = MakePanel(this, "Panel_Request");

    AdvPanel1 = MakePanel(this, "AdvPanel1");
    AdvPanel1->setGeometry(485, 260, 344, 223);
    AdvPanel1Image = new QLabel(AdvPanel1);
    AdvPanel1Image->setObjectName(QStringLiteral("AdvPanel1Image"));
    AdvPanel1Image->setAlignment(Qt::AlignCenter);
    AdvPanel1Image->setGeometry(0, 0, 344, 190);
    auto* caption = new QLabel(QStringLiteral("Loading"), AdvPanel1);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(0, 190, 344, 33);
    caption->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    TimerPreparation = MakeTimer(this, "TimerPreparation", 1000);
    TmrHandle = MakeTimer(this, "TmrHandle", 1000);
    Tmrbattery = MakeTimer(this, "Tmrbattery", 1000);
    Timer1 = MakeTimer(this, "Timer1", 1000);
    tmrsearching = MakeTimer(this, "tmrsearching", 50);
    TimerPreparation->start();

    FormCreate();
    AdvPanel1->raise();
}

void Tfplayer::FormCreate() {
    CekAkses = 0;
    pilihplay = 0;
    PanelOrder->hide();
    PanelViewOrder->hide();
    PnlVerify->hide();
    Panel_Request->hide();
    kondisi = QStringLiteral("0");
    WriteLog(QStringLiteral("Form Create"));
    Guarded(QStringLiteral("Form Create "), [this] {
        const QString gif = module_.PullPath + QStringLiteral("tools/gambar/loading.gif");
        if (!QFileInfo::exists(gif)) {
            throw std::runtime_error(
                QStringLiteral("Cannot open file \"%1\". No such file").arg(gif).toStdString());
        }
        LoadingMovie = new QMovie(gif, QByteArray(), this);
        if (!LoadingMovie->isValid()) {
            throw std::runtime_error(
                QStringLiteral("\"%1\" is not a readable picture").arg(gif).toStdString());
        }
        AdvPanel1Image->setMovie(LoadingMovie);
        LoadingMovie->start();
        for (QWidget* panel : {pnlStanby, PanelOrder, Panel_Request}) {
            panel->setGeometry(0, 0, kWidth, kSkinHeight);
        }
        resize(kWidth, module_.monitor == 1 ? kDiagnosticHeight : kSkinHeight);
        MainSkinNew->SetMovie(module_.PullPath + QStringLiteral("tools/gambar/main.qml"));
        setEnabled(false);
    });
}

Tfplayer::~Tfplayer() {
    Unguarded([this] {
        QApplication::quit();
        WriteLog(QStringLiteral("Form Fplayer Destroy"));
        platform_.ShowMessage(LogFolder());
        SaveLog();
    });
}

void Tfplayer::WriteLog(const QString& label, const QString& message) {
    MemLog->appendPlainText(QLatin1Char('*') +
                            QTime::currentTime().toString(QStringLiteral("hh:mm:ss")) +
                            QStringLiteral(" =>") + label + message);
}

QString Tfplayer::FailureText(const std::exception_ptr& failure) const {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("unknown failure");
    }
}

QString Tfplayer::LogFolder() const {
    return module_.PullPath + QStringLiteral("log/");
}

// "Log " + number + ".txt", numbered after the logs already there, but never
// one that exists: a folder with gaps in its numbering must not lose a log.
QString Tfplayer::NextLogFileName(const QString& folder) {
    const QDir dir(folder);
    qsizetype number =
        dir.exists()
            ? dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden).size() + 1
            : 1;
    while (QFileInfo::exists(dir.filePath(QStringLiteral("Log %1.txt").arg(number)))) {
        ++number;
    }
    return dir.filePath(QStringLiteral("Log %1.txt").arg(number));
}

void Tfplayer::SaveLog() {
    const QString folder = LogFolder();
    if (!QDir().mkpath(folder)) {
        throw std::runtime_error(
            QStringLiteral("Cannot create folder \"%1\"").arg(folder).toStdString());
    }
    const QString fileName = NextLogFileName(folder);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        file.write((MemLog->toPlainText() + QLatin1Char('\n')).toUtf8()) < 0 || !file.commit()) {
        throw std::runtime_error(QStringLiteral("Cannot write \"%1\": %2")
                                     .arg(fileName, file.errorString())
                                     .toStdString());
    }
    MemLog->clear();
}
