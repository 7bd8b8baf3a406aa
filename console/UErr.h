#pragma once

#include <QLabel>
#include <QWidget>

#include "widgets/smoothbutton.h"

class Tfplayer;

// Tells the guest that the tablet lost the room player and offers to give up
// the command or to reconnect. Each failed send opens a new one; closing hides
// it. It is a window of its own, so that it stays usable while the console
// window is disabled.
class TFrmError : public QWidget {
    Q_OBJECT

public:
    explicit TFrmError(Tfplayer& player);
    ~TFrmError() override;

    QLabel* Label1;
    SmoothButton* AdvSmoothButton1;
    SmoothButton* AdvSmoothButton2;

public slots:
    // "Batalkan Perintah": the console goes on without the command.
    void AdvSmoothButton1Click();
    // "Coba Lagi": the console waits behind its loading panel and reconnects.
    void AdvSmoothButton2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Tfplayer& player_;
};

// The dialog created last.
extern TFrmError* FrmError;
