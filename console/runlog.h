#pragma once

#include <QFile>
#include <QString>

// The file that keeps one run's log as it is written. Each line goes to the
// kernel before Append returns, so a run that ends without its destructor (a
// crash, SIGKILL) loses at most the line being written.
class RunLog {
public:
    // Opens fileName for appending when no file is open yet and writes head
    // (the lines written so far) first; then appends line. Failures are kept
    // in ErrorText() and the line stays unwritten.
    void Append(const QString& fileName, const QString& head, const QString& line);
    bool IsOpen() const { return file_.isOpen(); }
    // Closes the file; the next Append opens a new one.
    void Close();
    // The first failure since the file was opened, or empty.
    const QString& ErrorText() const { return error_; }

private:
    bool Open(const QString& fileName, const QString& head);
    void Write(const QString& text);

    QFile file_;
    QString error_;
};
