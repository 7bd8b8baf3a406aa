#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

// A picture stretched over the widget with named rectangular hot spots. A hot
// spot changes its look while hovered and while pressed (with its own pictures
// when given, else with a light veil) and reports its name when tapped: press
// and release inside the same spot. Where spots overlap, the one added last wins.
class HotSpotPicture : public QWidget {
    Q_OBJECT

public:
    explicit HotSpotPicture(QWidget* parent = nullptr);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // The rectangle is in widget coordinates. A name already present is replaced.
    void addHotSpot(const QString& name, const QRect& rect, const QPixmap& hoverPicture = {},
                    const QPixmap& pressedPicture = {});
    void removeHotSpot(const QString& name);
    QStringList hotSpotNames() const;
    Q_INVOKABLE QRect hotSpotRect(const QString& name) const;
    // The spot under the point, or an empty text.
    QString hotSpotAt(const QPoint& pos) const;
    QString hoveredHotSpot() const;

signals:
    void hotSpotClicked(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct HotSpot {
        QString name;
        QRect rect;
        QPixmap hover;
        QPixmap pressed;
    };

    void paintSpot(QPainter& painter, const HotSpot& spot, bool pressed) const;
    const HotSpot* find(const QString& name) const;

    QPixmap picture_;
    QList<HotSpot> spots_;
    QString hovered_;
    QString pressed_;
};
