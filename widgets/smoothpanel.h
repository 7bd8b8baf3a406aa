#pragma once

#include <QColor>
#include <QWidget>

// A container drawn as a rounded, translucent dark face, optionally with a
// caption across its top. Children are placed on it as on any QWidget; set the
// fill to opaque black and the radius to 0 for a plain full-screen overlay.
class SmoothPanel : public QWidget {
    Q_OBJECT

public:
    explicit SmoothPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor fillColor() const { return fill_; }
    void setFillColor(const QColor& color);
    int cornerRadius() const { return radius_; }
    void setCornerRadius(int pixels);

    // The area below the caption, where children are best placed.
    QRect contentRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int captionHeight() const;

    QString caption_;
    QColor fill_;
    int radius_ = 12;
};
