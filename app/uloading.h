#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "widgets/marqueebar.h"

class IPlatform;
class Tfmodule;

// The tablet's IPv4 address: the last address that the host's own name
// resolves to, or the empty text when it resolves to none.
QString GetLocalIP(IPlatform& platform);

// The start-up window, the application's main window: it shows "Loading....."
// while its one-second timer synchronises the clock (second tick), learns the
// tablet's address (second tick) and creates the console window (third tick).
class Tfloading : public QWidget {
    Q_OBJECT

public:
    using ConsoleFactory = std::function<QWidget*()>;

    Tfloading(Tfmodule& module, IPlatform& platform, ConsoleFactory createConsole,
              QWidget* parent = nullptr);

    // Starts setting the clock from the transaction server.
    void unMAP();

    QString myip_address;
    QString NamaPC;

    QTimer* tmrloading;  // destroyed after the third tick
    QLabel* Label2;
    MarqueeBar* AdvSmoothWin8Marquee1;
    QLabel* Label1;

    int TickCount() const { return iloading; }

public slots:
    void tmrloadingTimer();
    void FormShow();
    void FormCloseQuery();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Tfmodule& module_;
    IPlatform& platform_;
    ConsoleFactory createConsole_;
    int iloading = 0;
};

extern Tfloading* floading;
