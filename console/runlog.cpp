#include "console/runlog.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

bool RunLog::Open(const QString& fileName, const QString& head) {
    error_.clear();
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("Cannot create folder \"%1\"").arg(folder);
        return false;
    }
    file_.setFileName(fileName);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        error_ = QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file_.errorString());
        return false;
    }
    if (!head.isEmpty()) {
        Write(head);
    }
    return true;
}

void RunLog::Append(const QString& fileName, const QString& head, const QString& line) {
    if (!file_.isOpen()) {
        const bool reported = !error_.isEmpty();
        if (!Open(fileName, head)) {
            // Said once: a log that cannot be written would fill the journal.
            if (!reported) {
                std::fprintf(stderr, "lyrabox: the log is not saved: %s\n", qPrintable(error_));
            }
            return;
        }
    }
    Write(line);
}

void RunLog::Write(const QString& text) {
    // flush() hands the bytes to the kernel, where they outlive the process.
    if ((file_.write((text + QLatin1Char('\n')).toUtf8()) < 0 || !file_.flush()) &&
        error_.isEmpty()) {
        error_ =
            QStringLiteral("Cannot write \"%1\": %2").arg(file_.fileName(), file_.errorString());
    }
}

void RunLog::Close() {
    file_.close();
}
