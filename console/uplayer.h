#pragma once

#include <QLabel>
#include <QMovie>
#include <QPlainTextEdit>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <exception>

#include "app/platform.h"

class Tfmodule;
class TSkinHost;

// The console window. It hosts the skin, lays the native lists and panels over
// fixed places of it, keeps the room's state in its fields and hidden controls,
// and writes the console's log. Each concern below is implemented in its own
// uplayer_<concern>.cpp file.
class Tfplayer : public QWidget {
    Q_OBJECT

public:
    Tfplayer(Tfmodule& module, IPlatform& platform, QWidget* parent = nullptr);
    ~Tfplayer() override;

    // ---- Creation, destruction, log (uplayer.cpp) ---------------------------
    // Appends "*hh:mm:ss =>" + label + message to MemLog.
    void WriteLog(const QString& label, const QString& message = QString());
    // The folder the log is saved into and the file name it would get now.
    QString LogFolder() const;
    static QString NextLogFileName(const QString& folder);
    void SaveLog();

    // Runs action; a failure writes one log line with label and the failure's
    // message, and the handler ends there. Returns whether action completed.
    template <class Action>
    bool Guarded(const QString& label, Action&& action);
    // Runs action; a failure is shown in a message box and the program runs on.
    template <class Action>
    void Unguarded(Action&& action);

    // ---- Components -----------------------------------------------------------
    TSkinHost* MainSkinNew;
    QPlainTextEdit* MemLog;
    QWidget* pnlStanby;
    QWidget* AdvPanel1;
    QLabel* AdvPanel1Image;
    QMovie* LoadingMovie = nullptr;
    QWidget* PanelOrder;
    QWidget* PanelViewOrder;
    QWidget* PnlVerify;
    QWidget* Panel_Request;

    QTimer* TimerPreparation;
    QTimer* TmrHandle;
    QTimer* Tmrbattery;
    QTimer* Timer1;
    QTimer* tmrsearching;

    // ---- Fields -----------------------------------------------------------------
    int CekAkses = 0;
    int pilihplay = 0;
    QString kondisi;
    int preparationTimer = 0;

private:
    void FormCreate();
    QString FailureText(const std::exception_ptr& failure) const;

    Tfmodule& module_;
    IPlatform& platform_;
};

extern Tfplayer* fplayer;

template <class Action>
bool Tfplayer::Guarded(const QString& label, Action&& action) {
    try {
        action();
        return true;
    } catch (...) {
        WriteLog(label, FailureText(std::current_exception()));
        return false;
    }
}

template <class Action>
void Tfplayer::Unguarded(Action&& action) {
    try {
        action();
    } catch (...) {
        platform_.ShowMessage(FailureText(std::current_exception()));
    }
}
