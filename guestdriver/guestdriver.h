#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QQueue>
#include <QString>
#include <functional>

class QTcpSocket;
class QWidget;

// Acts as a guest inside a running console, on behalf of a test in another
// process: taps widgets found by objectName, taps the skin's buttons by their
// command, keys of the touch keyboards and rows of the touch lists, answers
// the dialog on screen, and reads back texts, skin variables and list rows.
//
// It connects to the test at 127.0.0.1:PORT and reads one JSON object per
// line; each gets one JSON line back: {"ok":true,"value":...} or
// {"ok":false,"error":"..."}. Taps are answered once they are delivered; a tap
// that opens a dialog does not hold up the commands after it, which then run
// while the dialog is on screen, as a guest's next tap would.
class TGuestDriver : public QObject {
    Q_OBJECT

public:
    explicit TGuestDriver(quint16 port, QObject* parent = nullptr);

private:
    void Connect();
    void ReadLines();
    void SchedulePump();
    void Pump();
    // Runs one request; a tap is delivered after its answer has gone out.
    QJsonObject Run(const QJsonObject& request, std::function<void()>& deliver);

    quint16 port_;
    QTcpSocket* socket_ = nullptr;
    QByteArray buffer_;
    QQueue<QJsonObject> requests_;
    bool pumpScheduled_ = false;
};
