#include "widgets/elidedlabel.h"

#include <QPainter>
#include <QStyle>

QRect ElidedLabel::textArea() const {
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, textArea().width());
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    // The frame and background as QLabel draws them, then the shortened text
    // where QLabel would have put the whole one.
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, textArea(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}
