#pragma once

#include <QLabel>
#include <QWidget>

#include "widgets/smoothbutton.h"

class Tfplayer;

// Tells the guest that the tablet lost the room player and offers to give up
// the command or to reconnect. The console keeps at most one open: a further
// failure raises it with the latest message. Closing it frees it. It is a
// window of its own, so that it stays usable while the console window is
// disabled.
class TFrmError : public QWidget {
    Q_OBJECT

public:
    explicit TFrmError(Tfplayer& player);
    ~TFrmError() override;

    QLabel* Label1;
    // What failed, in the transport's words, for the venue's staff.
    QLabel* LabelDetail;
    SmoothButton* AdvSmoothButton1;
    SmoothButton* AdvSmoothButton2;

    // Shows message as what failed last.
    void SetDetail(const QString& message);

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
