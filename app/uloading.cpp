#include "app/uloading.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVBoxLayout>

#include "app/platform.h"
#include "app/umodule.h"

Tfloading* floading = nullptr;

namespace {
// On this one computer the console opens as an ordinary window, so that the
// venue's technician can reach the desktop behind it.
const QString kWindowedComputer = QStringLiteral("KESTREL");
}  // namespace

QString GetLocalIP(IPlatform& platform) {
    // No connection to the room player yet: the interfaces tell.
    return ChooseTabletAddress({}, platform.NetworkInterfaces());
}

Tfloading::Tfloading(Tfmodule& module, IPlatform& platform, ConsoleFactory createConsole,
                     QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      module_(module),
      platform_(platform),
      createConsole_(std::move(createConsole)) {
    setObjectName(QStringLiteral("floading"));
    setFixedSize(453, 101);
    setStyleSheet(QStringLiteral("background-color: black;"));

    Label2 = new QLabel(QStringLiteral("Loading....."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    AdvSmoothWin8Marquee1 = new MarqueeBar(this);
    AdvSmoothWin8Marquee1->setObjectName(QStringLiteral("AdvSmoothWin8Marquee1"));
    AdvSmoothWin8Marquee1->setFixedSize(400, 20);
    AdvSmoothWin8Marquee1->setTrackColor(Qt::white);
    AdvSmoothWin8Marquee1->setBarColor(QColor(0xd0, 0x10, 0x10));

    Label1 = new QLabel(QStringLiteral("Monitoring........."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    Label1->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(AdvSmoothWin8Marquee1, 0, Qt::AlignHCenter);
    layout->addWidget(Label1);

    tmrloading = new QTimer(this);
    tmrloading->setObjectName(QStringLiteral("tmrloading"));
    tmrloading->setInterval(1000);
    connect(tmrloading, &QTimer::timeout, this, &Tfloading::tmrloadingTimer);
    tmrloading->start();
}

void Tfloading::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void Tfloading::FormShow() {
    NamaPC = platform_.ComputerName();
}

void Tfloading::tmrloadingTimer() {
    ++iloading;
    switch (iloading) {
        case 2:
            unMAP();
            myip_address = GetLocalIP(platform_);
            break;
        case 3: {
            QWidget* console = createConsole_();
            if (NamaPC == kWindowedComputer) {
                console->setWindowFlags(Qt::Window);
            }
            console->show();
            tmrloading->stop();
            tmrloading->deleteLater();
            tmrloading = nullptr;
            break;
        }
        default:
            break;
    }
}

void Tfloading::unMAP() {
    platform_.SynchroniseClock(module_.ServerTransaksi);
}

void Tfloading::FormCloseQuery() {
    unMAP();
}

void Tfloading::FormClose() {
    unMAP();
}

void Tfloading::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    FormClose();
    event->accept();
    // The start-up window is the main window: closing it ends the program.
    QApplication::quit();
}
