#include "widgets/touchkeyboard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/theme.h"

namespace {

constexpr int kMargin = 6;
constexpr int kGap = 6;
constexpr int kLongPressMilliseconds = 450;

int keyCodeFor(const TouchKey& key, const QString& text) {
    switch (key.action) {
        case TouchKey::Action::Backspace:
            return Qt::Key_Backspace;
        case TouchKey::Action::Enter:
            return Qt::Key_Return;
        case TouchKey::Action::Space:
            return Qt::Key_Space;
        case TouchKey::Action::Character:
            break;
    }
    // Qt's codes for Latin-1 characters are their upper-case code points.
    const QChar upper = text.isEmpty() ? QChar() : text.toUpper().at(0);
    return upper.unicode() > 0 && upper.unicode() < 0x100 ? int(upper.unicode())
                                                          : int(Qt::Key_unknown);
}

QString typedText(const TouchKey& key, const QString& text) {
    switch (key.action) {
        case TouchKey::Action::Backspace:
            return QString();
        case TouchKey::Action::Enter:
            return QStringLiteral("\r");
        case TouchKey::Action::Space:
            return QStringLiteral(" ");
        case TouchKey::Action::Character:
            break;
    }
    return text;
}

}  // namespace

TouchKeyboard::TouchKeyboard(KeyboardLayout layout, QWidget* parent)
    : QWidget(parent), layout_(layout), rows_(keyboardRows(layout)) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    holdTimer_.setSingleShot(true);
    holdTimer_.setInterval(kLongPressMilliseconds);
    connect(&holdTimer_, &QTimer::timeout, this, &TouchKeyboard::openAlternatives);
}

void TouchKeyboard::setKeyboardLayout(KeyboardLayout layout) {
    layout_ = layout;
    rows_ = keyboardRows(layout);
    closeAlternatives();
    pressedKey_ = -1;
    placedFor_ = QSize();
    update();
}

QSize TouchKeyboard::sizeHint() const {
    return layout_ == KeyboardLayout::TelephonePad ? QSize(372, 342) : QSize(900, 220);
}

void TouchKeyboard::resizeEvent(QResizeEvent*) {
    closeAlternatives();
}

void TouchKeyboard::hideEvent(QHideEvent*) {
    pressedKey_ = -1;
    closeAlternatives();
}

const QList<TouchKeyboard::PlacedKey>& TouchKeyboard::placedKeys() const {
    if (placedFor_ == size()) {
        return keys_;
    }
    placedFor_ = size();
    keys_.clear();
    const int rowCount = static_cast<int>(rows_.size());
    double widestRow = 0;
    for (const TouchKeyRow& row : rows_) {
        double units = 0;
        for (const TouchKey& key : row) {
            units += key.width;
        }
        widestRow = qMax(widestRow, units);
    }
    // One pitch for all rows keeps the keys of different rows the same size.
    const double pitch = (width() - 2 * kMargin + kGap) / widestRow;
    const int keyHeight = (height() - 2 * kMargin - (rowCount - 1) * kGap) / rowCount;
    int top = kMargin;
    for (const TouchKeyRow& row : rows_) {
        double units = 0;
        for (const TouchKey& key : row) {
            units += key.width;
        }
        double left = (width() - (units * pitch - kGap)) / 2;
        for (const TouchKey& key : row) {
            const int keyWidth = qRound(key.width * pitch - kGap);
            keys_.append(PlacedKey{key, QRect(qRound(left), top, keyWidth, keyHeight)});
            left += key.width * pitch;
        }
        top += keyHeight + kGap;
    }
    return keys_;
}

QRect TouchKeyboard::keyRect(const QString& caption) const {
    for (const PlacedKey& placed : placedKeys()) {
        if (placed.key.caption == caption) {
            return placed.rect;
        }
    }
    return QRect();
}

QRect TouchKeyboard::alternativeRect(const QString& text) const {
    for (const Alternative& alternative : alternatives_) {
        if (alternative.text == text) {
            return alternative.rect;
        }
    }
    return QRect();
}

int TouchKeyboard::keyAt(const QPoint& pos) const {
    const QList<PlacedKey>& keys = placedKeys();
    for (int index = 0; index < keys.size(); ++index) {
        if (keys[index].rect.contains(pos)) {
            return index;
        }
    }
    return -1;
}

int TouchKeyboard::alternativeAt(const QPoint& pos) const {
    for (int index = 0; index < alternatives_.size(); ++index) {
        if (alternatives_[index].rect.contains(pos)) {
            return index;
        }
    }
    return -1;
}

void TouchKeyboard::openAlternatives() {
    if (pressedKey_ < 0 || keys_[pressedKey_].key.alternatives.isEmpty()) {
        return;
    }
    const PlacedKey& placed = keys_[pressedKey_];
    const QStringList texts = QStringList{placed.key.text} + placed.key.alternatives;
    const QSize cell = placed.rect.size();
    const int stripWidth = static_cast<int>(texts.size()) * (cell.width() + kGap) - kGap;
    const int left = qBound(kMargin, placed.rect.center().x() - stripWidth / 2,
                            qMax(kMargin, width() - kMargin - stripWidth));
    // Above the key when there is room, else below it, else over its own row.
    int top = placed.rect.top() - cell.height() - kGap;
    if (top < 0) {
        top = placed.rect.bottom() + 1 + kGap;
        if (top + cell.height() > height()) {
            top = placed.rect.top();
        }
    }
    alternatives_.clear();
    for (int index = 0; index < texts.size(); ++index) {
        const QRect rect(left + index * (cell.width() + kGap), top, cell.width(), cell.height());
        alternatives_.append(Alternative{texts[index], rect});
    }
    alternativesKey_ = pressedKey_;
    heldOpen_ = true;
    update();
}

void TouchKeyboard::closeAlternatives() {
    holdTimer_.stop();
    alternatives_.clear();
    alternativesKey_ = -1;
    pressedAlternative_ = -1;
    heldOpen_ = false;
    update();
}

void TouchKeyboard::click(const TouchKey& key, const QString& text) {
    emit beforeKeyClick(key.caption);
    if (QWidget* target = window()->focusWidget(); target && target != this) {
        const int code = keyCodeFor(key, text);
        const QString typed = typedText(key, text);
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &release);
    }
    emit keyClicked(key.caption);
}

void TouchKeyboard::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (alternativesShown()) {
        pressedAlternative_ = alternativeAt(pos);
        if (pressedAlternative_ < 0) {
            closeAlternatives();  // a tap beside the strip only dismisses it
        }
        update();
        return;
    }
    pressedKey_ = keyAt(pos);
    if (pressedKey_ >= 0 && !keys_[pressedKey_].key.alternatives.isEmpty()) {
        holdTimer_.start();
    }
    update();
}

void TouchKeyboard::mouseReleaseEvent(QMouseEvent* event) {
    holdTimer_.stop();
    const QPoint pos = event->position().toPoint();
    const int key = pressedKey_;
    pressedKey_ = -1;
    update();

    if (alternativesShown()) {
        const int cell = alternativeAt(pos);
        const bool chosen = cell >= 0 && (heldOpen_ || cell == pressedAlternative_);
        heldOpen_ = false;
        pressedAlternative_ = -1;
        if (chosen) {
            const TouchKey base = keys_[alternativesKey_].key;
            const QString text = alternatives_[cell].text;
            closeAlternatives();
            click(base, text);
        }
        return;
    }
    if (key >= 0 && keyAt(pos) == key) {
        const TouchKey pressed = keys_[key].key;
        click(pressed, pressed.text);
    }
}

void TouchKeyboard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Theme::paintRoundedFace(painter, rect(), Theme::panelFill(), Theme::panelBorder(), 10);
    const QList<PlacedKey>& keys = placedKeys();
    for (int index = 0; index < keys.size(); ++index) {
        const PlacedKey& placed = keys[index];
        const QString label =
            placed.key.action == TouchKey::Action::Space ? QString() : placed.key.caption;
        paintKey(painter, placed.rect, label, index == pressedKey_,
                 !placed.key.alternatives.isEmpty());
    }
    if (alternativesShown()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 110));
        const QRect strip = alternatives_.first().rect.united(alternatives_.last().rect);
        Theme::paintRoundedFace(painter, strip.adjusted(-4, -4, 4, 4), Theme::panelFill(),
                                Theme::accent(), 8);
        for (int index = 0; index < alternatives_.size(); ++index) {
            paintKey(painter, alternatives_[index].rect, alternatives_[index].text,
                     index == pressedAlternative_, false);
        }
    }
}

void TouchKeyboard::paintKey(QPainter& painter, const QRect& rect, const QString& label,
                             bool pressed, bool hasAlternatives) const {
    Theme::paintRoundedFace(painter, rect, pressed ? Theme::keyPressedFill() : Theme::keyFill(),
                            Theme::panelBorder(), 6);
    QFont keyFont = font();
    const int pixelSize = qBound(12, qRound(rect.height() * 0.38), 30);
    keyFont.setPixelSize(label.size() > 1 ? pixelSize * 2 / 3 : pixelSize);
    keyFont.setBold(true);
    painter.setFont(keyFont);
    painter.setPen(Theme::text());
    painter.drawText(rect, Qt::AlignCenter, label);
    if (hasAlternatives) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::mutedText());
        painter.drawEllipse(QPointF(rect.right() - 8, rect.top() + 8), 2.5, 2.5);
        painter.restore();
    }
}
