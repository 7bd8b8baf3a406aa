#pragma once

#include <QStringList>
#include <QtGlobal>

namespace testsupport {

// Collects the warnings the program writes to its journal (standard error)
// while it lives; the previous message handler comes back afterwards. One at a
// time, on the test's thread.
class JournalCapture {
public:
    JournalCapture();
    ~JournalCapture();
    JournalCapture(const JournalCapture&) = delete;
    JournalCapture& operator=(const JournalCapture&) = delete;

    QStringList warnings() const { return warnings_; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QStringList warnings_;
    QtMessageHandler previous_;
};

}  // namespace testsupport
