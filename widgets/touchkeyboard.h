#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include "widgets/keyboardlayouts.h"

// An on-screen keyboard that types into the field that has the focus in its
// window, through ordinary key events: validators, input masks and upper-case
// forcing of the field apply as for a hardware keyboard. The keyboard never
// takes the focus itself. Holding a key with accented variants opens a strip
// of them over the keys; releasing on one, or tapping one afterwards, types it.
class TouchKeyboard : public QWidget {
    Q_OBJECT

public:
    explicit TouchKeyboard(KeyboardLayout layout = KeyboardLayout::Qwerty,
                           QWidget* parent = nullptr);

    KeyboardLayout keyboardLayout() const { return layout_; }
    void setKeyboardLayout(KeyboardLayout layout);

    // The key with this caption ("Q", "7", "Back", "Enter", "Space"), empty if none.
    Q_INVOKABLE QRect keyRect(const QString& caption) const;

    bool alternativesShown() const { return !alternatives_.isEmpty(); }
    // The cell of an offered variant (the key's own letter comes first), empty if none.
    QRect alternativeRect(const QString& text) const;

    int longPressInterval() const { return holdTimer_.interval(); }
    void setLongPressInterval(int milliseconds) { holdTimer_.setInterval(milliseconds); }

    QSize sizeHint() const override;

signals:
    // Raised before the key is typed, so a handler can move the focus to the field it belongs to.
    void beforeKeyClick(const QString& caption);
    void keyClicked(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct PlacedKey {
        TouchKey key;
        QRect rect;
    };
    struct Alternative {
        QString text;
        QRect rect;
    };

    // Key rectangles follow the current size; a hidden widget gets no resize events.
    const QList<PlacedKey>& placedKeys() const;
    int keyAt(const QPoint& pos) const;
    int alternativeAt(const QPoint& pos) const;
    void openAlternatives();
    void closeAlternatives();
    void click(const TouchKey& key, const QString& text);
    void paintKey(QPainter& painter, const QRect& rect, const QString& label, bool pressed,
                  bool hasAlternatives) const;

    KeyboardLayout layout_;
    QList<TouchKeyRow> rows_;
    mutable QList<PlacedKey> keys_;
    mutable QSize placedFor_;
    QList<Alternative> alternatives_;
    int alternativesKey_ = -1;
    int pressedKey_ = -1;
    int pressedAlternative_ = -1;
    bool heldOpen_ = false;  // the strip opened during the current press
    QTimer holdTimer_;
};
