#pragma once

#include <QLabel>
#include <QTimer>

// A short message laid over part of a window that goes away by itself: it
// tells the user that something did not happen without a dialog to answer.
// It takes no taps, so that whatever lies under it stays usable.
class NoticeLabel : public QLabel {
    Q_OBJECT

public:
    explicit NoticeLabel(QWidget* parent = nullptr, int shownMilliseconds = 4000);

    // Shows text on top of its siblings for the notice's time; a new text
    // while one shows replaces it and starts the time again.
    void showNotice(const QString& text);
    int shownMilliseconds() const { return hideTimer_.interval(); }
    // The timer that hides the notice (tests fire it instead of waiting).
    QTimer& hideTimer() { return hideTimer_; }

private:
    QTimer hideTimer_;
};
