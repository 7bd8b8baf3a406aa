#include "widgets/smoothlistbox.h"

#include <QApplication>
#include <QEasingCurve>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QVariantAnimation>
#include <stdexcept>

#include "widgets/markuppainter.h"
#include "widgets/theme.h"

namespace {

constexpr int kTextPadding = 12;
constexpr int kGlideMilliseconds = 450;
constexpr qreal kGlideMinimumVelocity = 0.3;  // pixels per millisecond

}  // namespace

SmoothListBox::SmoothListBox(QWidget* parent)
    : QAbstractScrollArea(parent),
      fillColor_(Theme::panelFill()),
      textColor_(Theme::text()),
      selectedTextColor_(Theme::selectedText()) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 6px; margin: 2px; }"
        "QScrollBar::handle:vertical { background: rgba(255,255,255,90); border-radius: 2px;"
        " min-height: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"));
    QFont rowFont = font();
    rowFont.setPixelSize(16);
    setFont(rowFont);

    glideAnimation_ = new QVariantAnimation(this);
    glideAnimation_->setEasingCurve(QEasingCurve::OutCubic);
    connect(glideAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { verticalScrollBar()->setValue(value.toInt()); });
}

SmoothListBox::~SmoothListBox() = default;

void SmoothListBox::checkIndex(int index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("list index " + std::to_string(index) + " out of bounds (" +
                                std::to_string(count()) + " items)");
    }
}

const SmoothListItem& SmoothListBox::item(int index) const {
    checkIndex(index);
    return rows_[index].item;
}

QString SmoothListBox::itemNotes(int index) const {
    return index >= 0 && index < count() ? rows_[index].item.notes : QString();
}

int SmoothListBox::addItem(const SmoothListItem& item) {
    rows_.append(Row{item, parseItemMarkup(item.notes)});
    refresh();
    return count() - 1;
}

void SmoothListBox::setItem(int index, const SmoothListItem& item) {
    checkIndex(index);
    rows_[index] = Row{item, parseItemMarkup(item.notes)};
    refresh();
}

void SmoothListBox::removeItem(int index) {
    checkIndex(index);
    rows_.removeAt(index);
    if (selectedIndex_ == index) {
        selectedIndex_ = -1;
    } else if (selectedIndex_ > index) {
        --selectedIndex_;
    }
    refresh();
}

void SmoothListBox::clear() {
    rows_.clear();
    selectedIndex_ = -1;
    touch_ = Touch{};
    glideAnimation_->stop();
    refresh();
    verticalScrollBar()->setValue(0);
}

void SmoothListBox::beginUpdate() {
    ++updateDepth_;
}

void SmoothListBox::endUpdate() {
    if (updateDepth_ == 0) {
        return;
    }
    if (--updateDepth_ == 0) {
        refresh();
        if (selectedIndex_ >= 0) {
            scrollToItem(selectedIndex_);
        }
    }
}

void SmoothListBox::setSelectedIndex(int index) {
    if (index == -1) {
        selectedIndex_ = -1;
        refresh();
        return;
    }
    if (index < 0 || index >= count() || index == selectedIndex_) {
        return;
    }
    selectedIndex_ = index;
    if (!isUpdating()) {
        scrollToItem(index);
    }
    refresh();
    emit itemSelected(index);
}

void SmoothListBox::setRowHeight(int pixels) {
    rowHeight_ = qMax(1, pixels);
    verticalScrollBar()->setSingleStep(rowHeight_);
    refresh();
}

void SmoothListBox::setGraphic(Graphic graphic) {
    graphic_ = graphic;
    refresh();
}

void SmoothListBox::setGraphicPicture(const QPixmap& picture) {
    graphicPicture_ = picture;
    refresh();
}

void SmoothListBox::setGraphicWidth(int pixels) {
    graphicWidth_ = qMax(0, pixels);
    refresh();
}

void SmoothListBox::setBackgroundPicture(const QPixmap& picture) {
    background_ = picture;
    refresh();
}

void SmoothListBox::setFillColor(const QColor& color) {
    fillColor_ = color;
    refresh();
}

void SmoothListBox::setTextColor(const QColor& color) {
    textColor_ = color;
    refresh();
}

void SmoothListBox::setSelectedTextColor(const QColor& color) {
    selectedTextColor_ = color;
    refresh();
}

QRect SmoothListBox::itemRect(int index) const {
    return QRect(0, index * rowHeight_ - verticalScrollBar()->value(), viewport()->width(),
                 rowHeight_);
}

QRect SmoothListBox::graphicRect(int index) const {
    if (graphic_ == Graphic::None) {
        return QRect();
    }
    const QRect row = itemRect(index);
    return QRect(row.right() - graphicWidth_ + 1, row.top(), graphicWidth_, row.height());
}

int SmoothListBox::indexAt(const QPoint& viewportPos) const {
    if (!viewport()->rect().contains(viewportPos)) {
        return -1;
    }
    const int index = (viewportPos.y() + verticalScrollBar()->value()) / rowHeight_;
    return index < count() ? index : -1;
}

void SmoothListBox::scrollToItem(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    updateScrollRange();
    QScrollBar* bar = verticalScrollBar();
    const int top = index * rowHeight_;
    const int bottom = top + rowHeight_;
    if (top < bar->value()) {
        bar->setValue(top);
    } else if (bottom > bar->value() + viewportHeight()) {
        bar->setValue(bottom - viewportHeight());
    }
}

void SmoothListBox::refresh() {
    if (isUpdating()) {
        return;
    }
    updateScrollRange();
    viewport()->update();
}

void SmoothListBox::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewportHeight());
    bar->setRange(0, qMax(0, count() * rowHeight_ - viewportHeight()));
}

int SmoothListBox::viewportHeight() const {
    // No horizontal scroll bar is ever shown, so nothing takes height from it.
    return maximumViewportSize().height();
}

void SmoothListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    refresh();
}

void SmoothListBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (background_.isNull()) {
        painter.fillRect(viewport()->rect(), fillColor_);
    } else {
        painter.drawPixmap(0, 0, background_);
    }
    const int first = verticalScrollBar()->value() / rowHeight_;
    const int last =
        qMin(count() - 1, (verticalScrollBar()->value() + viewportHeight()) / rowHeight_);
    for (int index = first; index <= last; ++index) {
        paintRow(painter, index);
    }
}

void SmoothListBox::paintRow(QPainter& painter, int index) const {
    const Row& row = rows_[index];
    const QRect rect = itemRect(index);
    const bool selected = index == selectedIndex_;
    const bool pressed = touch_.active && !touch_.dragging && touch_.index == index;

    if (selected) {
        Theme::paintRoundedFace(painter, QRectF(rect).adjusted(3, 2, -3, -2), Theme::selectedFill(),
                                Qt::transparent, 6);
        painter.fillRect(QRect(rect.left() + 3, rect.top() + 6, 4, rect.height() - 12),
                         Theme::accent());
    } else if (pressed && !touch_.onGraphic) {
        painter.fillRect(rect, QColor(255, 255, 255, 40));
    }
    painter.fillRect(
        QRect(rect.left() + kTextPadding, rect.bottom(), rect.width() - 2 * kTextPadding, 1),
        Theme::panelBorder());

    QRect textArea = rect.adjusted(kTextPadding, 0, -kTextPadding, 0);
    if (graphic_ != Graphic::None) {
        textArea.setRight(graphicRect(index).left() - 4);
    }
    QColor color = selected ? selectedTextColor_ : textColor_;
    if (!row.item.enabled) {
        color = Theme::mutedText();
    }
    paintItemMarkup(painter, row.markup, textArea, font(), color);

    if (graphic_ != Graphic::None) {
        paintGraphic(painter, graphicRect(index), pressed && touch_.onGraphic);
    }
}

void SmoothListBox::paintGraphic(QPainter& painter, const QRect& rect, bool pressed) const {
    if (!graphicPicture_.isNull()) {
        const QPixmap picture =
            graphicPicture_.scaled(rect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QPoint topLeft = rect.center() - QPoint(picture.width() / 2, picture.height() / 2);
        painter.drawPixmap(topLeft, picture);
        if (pressed) {
            painter.fillRect(rect, QColor(255, 255, 255, 60));
        }
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal diameter = qMin(rect.width(), rect.height()) - 8;
    const QRectF circle(rect.center().x() - diameter / 2 + 0.5,
                        rect.center().y() - diameter / 2 + 0.5, diameter, diameter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pressed ? Theme::accent().lighter(130) : Theme::accent());
    painter.drawEllipse(circle);

    const qreal r = diameter * 0.25;
    const QPointF c = circle.center();
    painter.setPen(
        QPen(Qt::white, qMax(2.0, diameter / 10), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    switch (graphic_) {
        case Graphic::Add:
            painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
            painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
            break;
        case Graphic::Play: {
            const QPointF triangle[] = {
                {c.x() - r * 0.7, c.y() - r}, {c.x() - r * 0.7, c.y() + r}, {c.x() + r, c.y()}};
            painter.drawPolygon(triangle, 3);
            break;
        }
        case Graphic::Open:
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(QPolygonF({{c.x() - r * 0.4, c.y() - r},
                                            {c.x() + r * 0.5, c.y()},
                                            {c.x() - r * 0.4, c.y() + r}}));
            break;
        case Graphic::None:
            break;
    }
    painter.restore();
}

void SmoothListBox::mousePressEvent(QMouseEvent* event) {
    glideAnimation_->stop();
    touch_ = Touch{};
    if (event->button() != Qt::LeftButton || isUpdating()) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    touch_.active = true;
    touch_.index = indexAt(pos);
    touch_.onGraphic = touch_.index >= 0 && graphicRect(touch_.index).contains(pos);
    touch_.startPos = pos;
    touch_.startScroll = verticalScrollBar()->value();
    touch_.lastMoveTime = event->timestamp();
    touch_.lastMoveY = pos.y();
    viewport()->update();
}

void SmoothListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!touch_.active) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (!touch_.dragging &&
        qAbs(pos.y() - touch_.startPos.y()) >= QApplication::startDragDistance()) {
        touch_.dragging = true;
        viewport()->update();
    }
    if (!touch_.dragging) {
        return;
    }
    verticalScrollBar()->setValue(touch_.startScroll - (pos.y() - touch_.startPos.y()));
    const qint64 elapsed = qMax<qint64>(1, event->timestamp() - touch_.lastMoveTime);
    touch_.velocity = qreal(pos.y() - touch_.lastMoveY) / elapsed;
    touch_.lastMoveTime = event->timestamp();
    touch_.lastMoveY = pos.y();
}

void SmoothListBox::mouseReleaseEvent(QMouseEvent* event) {
    const Touch touch = touch_;
    touch_ = Touch{};
    viewport()->update();
    if (!touch.active || isUpdating()) {
        return;
    }
    if (touch.dragging) {
        glide(touch.velocity);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const int index = indexAt(pos);
    if (index < 0 || index != touch.index || !rows_[index].item.enabled) {
        return;
    }
    if (touch.onGraphic && graphicRect(index).contains(pos)) {
        emit graphicClicked(index);
        return;
    }
    setSelectedIndex(index);
    // A selection handler may have rebuilt the list; report only a row that still exists.
    if (index < count()) {
        emit itemClicked(index);
    }
}

void SmoothListBox::glide(qreal velocity) {
    if (qAbs(velocity) < kGlideMinimumVelocity) {
        return;
    }
    const int start = verticalScrollBar()->value();
    const int distance = qRound(velocity * kGlideMilliseconds / 2);
    glideAnimation_->setStartValue(start);
    glideAnimation_->setEndValue(qBound(0, start - distance, verticalScrollBar()->maximum()));
    glideAnimation_->setDuration(kGlideMilliseconds);
    glideAnimation_->start();
}
