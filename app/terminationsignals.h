#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM (systemctl stop or restart, shutdown) and SIGHUP (the loss of
// the terminal or X session) into a call on the event loop, so that the
// program ends through its normal destruction instead of dying in the middle
// of it. The handler only writes one byte to a pipe; everything else runs
// later, on the event loop, where any code may run.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // One instance per process: it owns the two signals' dispositions.
    explicit TerminationSignals(std::function<void(int signalNumber)> onSignal,
                                QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void Drain();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
