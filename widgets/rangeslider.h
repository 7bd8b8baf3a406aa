#pragma once

#include <QWidget>

// A slider with two thumbs on one track: the left thumb marks the start of
// the range and the right thumb its end.
//
// Position rules (the same for a value set by code and one set by the finger):
// - A right position below the left thumb is ignored; a value above the maximum
//   becomes the maximum.
// - A left position above the right thumb is ignored; a value below the
//   minimum becomes the minimum.
// - Every value that differs from the thumb's current position raises the
//   thumb's change signal, even when it is then cut to the bound and the
//   position stays where it was.
// - Changing the minimum or the maximum never moves a thumb.
class RangeSlider : public QWidget {
    Q_OBJECT

public:
    explicit RangeSlider(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int positionLeft() const { return positionLeft_; }
    int positionRight() const { return positionRight_; }
    bool isLeftThumbVisible() const { return leftThumbVisible_; }

    void setMinimum(int value);
    void setMaximum(int value);
    void setPositionLeft(int value);
    void setPositionRight(int value);
    // A hidden left thumb cannot be dragged; it keeps its position.
    void setLeftThumbVisible(bool visible);

    // Centre of each thumb in widget coordinates.
    QPoint leftThumbCenter() const;
    QPoint rightThumbCenter() const;

    QSize sizeHint() const override;

signals:
    void positionLeftChanged(int position);
    void positionRightChanged(int position);
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Thumb { None, Left, Right };

    int thumbRadius() const;
    QRect trackRect() const;
    int xForValue(int value) const;
    int valueForX(int x) const;
    void moveThumbTo(Thumb thumb, int x);

    int minimum_ = 0;
    int maximum_ = 100;
    int positionLeft_ = 0;
    int positionRight_ = 0;
    bool leftThumbVisible_ = true;
    Thumb dragged_ = Thumb::None;
};
