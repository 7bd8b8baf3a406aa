#pragma once

#include <QAbstractButton>
#include <QColor>

// A large rounded touch button with a caption; `clicked` comes from
// QAbstractButton. It never takes the keyboard focus, so tapping it leaves the
// focus in the field being typed into. Unless a font is set, the caption's
// size follows the button's height.
class SmoothButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit SmoothButton(const QString& caption = QString(), QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};
