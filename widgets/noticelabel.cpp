#include "widgets/noticelabel.h"

#include <QFont>

NoticeLabel::NoticeLabel(QWidget* parent, int shownMilliseconds) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont notice = font();
    notice.setPixelSize(15);
    notice.setBold(true);
    setFont(notice);
    setStyleSheet(
        QStringLiteral("color: white; background: rgba(150, 24, 36, 230);"
                       " border-radius: 8px; padding: 6px;"));
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(shownMilliseconds);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void NoticeLabel::showNotice(const QString& text) {
    setText(text);
    show();
    raise();
    hideTimer_.start();
}
