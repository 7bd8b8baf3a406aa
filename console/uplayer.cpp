// Creation, destruction and the log of the console window.
#include "console/uplayer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <stdexcept>

#include "app/umodule.h"
#include "console/skinhost.h"

Tfplayer* fplayer = nullptr;

namespace {
constexpr int kWidth = 1280;
constexpr int kSkinHeight = 768;
constexpr int kDiagnosticHeight = 1068;
}  // namespace

Tfplayer::Tfplayer(Tfmodule& module, IPlatform& platform, Tfloading* loading, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      SpCall(QStringLiteral("SpCall"), &module.AdoConn, TAdoCommand::Kind::StoredProc),
      AdoSpFlast(QStringLiteral("AdoSpFlast"), &module.AdoConn, TAdoCommand::Kind::StoredProc),
      ADOplaylistnew(QStringLiteral("ADOplaylistnew"), &module.AdoConn,
                     TAdoCommand::Kind::StoredProc),
      ADOpriority(QStringLiteral("ADOpriority"), &module.AdoConn, TAdoCommand::Kind::Query),
      ADOupdatepriority(QStringLiteral("ADOupdatepriority"), &module.AdoConn,
                        TAdoCommand::Kind::Query),
      SpCallAuthen(QStringLiteral("SpCallAuthen"), &module.AdoAuthen,
                   TAdoCommand::Kind::StoredProc),
      ADOTransaksi(QStringLiteral("ADOTransaksi"), &module.ADOTransaksi,
                   TAdoCommand::Kind::StoredProc),
      ADOSPMenu(QStringLiteral("ADOSPMenu"), &module.ADOTransaksi, TAdoCommand::Kind::StoredProc),
      Adosave(QStringLiteral("Adosave"), &module.ADOTransaksi, TAdoCommand::Kind::Query),
      module_(module),
      platform_(platform),
      loading_(loading) {
    setObjectName(QStringLiteral("fplayer"));
    setWindowTitle(QStringLiteral("player"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#fplayer { background: black; }"));
    // Designed with its diagnostic strip; creation shrinks it when the strip is off.
    resize(kWidth, kDiagnosticHeight);

    MemLog = new QPlainTextEdit(this);
    MemLog->setObjectName(QStringLiteral("MemLog"));
    MemLog->setPlainText(QStringLiteral("MemLog"));
    MemLog->hide();

    CreateSkinRegions();
    CreateDiagnosticStrip();
    CreateOrderPanel();
    CreateRequestForm();
    CreateStandbyScreen();
    CreateLoadingPanel();
    CreateTimers();
    TimerPreparation->start();
    connect(MainSkinNew, &TSkinHost::FSCommand, this, &Tfplayer::MainSkinNewFSCommand);
    WireSongs();
    WireBooking();
    WirePlayer();
    WireOrdering();
    // The diagnostic strip's version button, for the technician.
    connect(getVersion, &QPushButton::clicked, this, &Tfplayer::getVersionClick);
    RegisterCommands();

    FormCreate();
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
        if (!Image1->load(module_.PullPath + QStringLiteral("tools/gambar/loading.gif"))) {
            throw std::runtime_error(Image1->errorString().toStdString());
        }
        Image1->start();
        IMCClient = std::make_unique<TIMCClient>();
        IMCClient->SetReplyLimit(kReplyLimit);
        for (SmoothPanel* panel : {pnlStanby, PanelOrder, Panel_Request}) {
            panel->setGeometry(0, 0, kWidth, kSkinHeight);
        }
        resize(kWidth, module_.monitor == 1 ? kDiagnosticHeight : kSkinHeight);
        MainSkinNew->SetMovie(module_.PullPath + QStringLiteral("tools/gambar/main.qml"));
        setEnabled(false);
    });
}

Tfplayer::~Tfplayer() {
    Unguarded([this] { FormDestroy(); });
}

void Tfplayer::FormDestroy() {
    SayGoodbye();
    QApplication::quit();
    WriteLog(QStringLiteral("Form Fplayer Destroy"));
    // A kiosk that restarts the console must not wait for a tap: where the
    // log goes is said in the journal, not in a message box.
    qInfo("lyrabox: the log is saved in %s", qPrintable(LogFolder()));
    SaveLog();
}

// Leaving the console tells the room player; the close is never refused.
void Tfplayer::FormCloseQuery() {
    SayGoodbye();
    QApplication::quit();
}

void Tfplayer::FormClose() {
    SayGoodbye();
    QApplication::quit();
}

void Tfplayer::SayGoodbye() {
    if (closing_) {
        return;
    }
    closing_ = true;
    // A dialog left open would outlive the window it acts on.
    delete errorDialog_.data();
    for (QTimer* timer : {TimerPreparation, TmrHandle, Tmrbattery, Timer1, tmrsearching}) {
        timer->stop();
    }
    Kirim(QStringLiteral("GI#"));
}

void Tfplayer::closeEvent(QCloseEvent* event) {
    Unguarded([this] { FormCloseQuery(); });
    Unguarded([this] { FormClose(); });
    event->accept();
}

void Tfplayer::WriteLog(const QString& label, const QString& message) {
    const QString line = QLatin1Char('*') +
                         QTime::currentTime().toString(QStringLiteral("hh:mm:ss")) +
                         QStringLiteral(" =>") + label + message;
    if (runLog_.IsOpen()) {
        runLog_.Append({}, {}, line);
    } else {
        runLog_.Append(NextLogFileName(LogFolder()), MemLog->toPlainText(), line);
    }
    MemLog->appendPlainText(line);
}

QString Tfplayer::FailureText(const std::exception_ptr& failure) {
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
    const QString failure = runLog_.ErrorText();
    runLog_.Close();
    MemLog->clear();
    if (!failure.isEmpty()) {
        throw std::runtime_error(failure.toStdString());
    }
}
