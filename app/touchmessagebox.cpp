#include "app/touchmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace touchmessagebox {

namespace {

// Where the box goes: centred over the console window, else over the screen.
QPoint CentredTopLeft(const QWidget& box, const QWidget* over) {
    QRect area;
    if (over != nullptr && over->isVisible()) {
        area = over->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->geometry();
    }
    return area.center() - QPoint(box.width() / 2, box.height() / 2);
}

}  // namespace

void Prepare(QMessageBox& box, QWidget* over) {
    // A window of its own, on top of the console: the kiosk's X server has no
    // window manager to stack or place it, so the box does both itself.
    box.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    // Painted by the box itself: a frameless dialog without a window manager
    // shows whatever it paints and nothing else.
    box.setAttribute(Qt::WA_StyledBackground);
    box.setStyleSheet(
        QStringLiteral("QMessageBox { background: #1e1e28; border: 2px solid #d01010; }"
                       "QLabel { color: white; font-size: %1px; }"
                       "QPushButton { color: white; background: #3a3a48; font-size: %1px;"
                       " border: 2px solid #8a8a9a; border-radius: 8px;"
                       " min-height: %2px; min-width: %3px; padding: 0 16px; }"
                       "QPushButton:pressed { background: #d01010; }")
            .arg(kTextPixelSize)
            .arg(kMinimumButtonHeight)
            .arg(kMinimumButtonWidth));
    for (QAbstractButton* button : box.buttons()) {
        button->setMinimumSize(kMinimumButtonWidth, kMinimumButtonHeight);
    }
    if (QLabel* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        text->setMinimumWidth(2 * kMinimumButtonWidth);
    }
    box.ensurePolished();
    box.adjustSize();
    box.move(CentredTopLeft(box, over));
}

int Exec(QMessageBox& box, QWidget* over) {
    Prepare(box, over);
    // Once mapped, on top of everything, and placed again: QMessageBox centres
    // itself over its parent or the screen when shown, after our move.
    QTimer::singleShot(0, &box, [&box, over] {
        box.move(CentredTopLeft(box, over));
        box.raise();
        box.activateWindow();
    });
    return box.exec();
}

}  // namespace touchmessagebox
