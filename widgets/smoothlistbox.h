#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QPixmap>

#include "widgets/itemmarkup.h"
#include "widgets/smoothlistitem.h"

class QVariantAnimation;

// A touch list of rows drawn from item markup, each with an optional picture
// button at its right end. A tap on a row selects it and reports its index; a
// tap on the picture button reports only the index (the row is not selected).
// Dragging scrolls the list with a short glide. The list never takes the
// keyboard focus, so typing into a field goes on while the guest taps rows.
class SmoothListBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The picture button at each row's right end.
    enum class Graphic { None, Add, Play, Open };

    explicit SmoothListBox(QWidget* parent = nullptr);
    ~SmoothListBox() override;

    // count, itemNotes, itemRect and scrollToItem are also reachable through the
    // meta-object, for tools that drive the console from outside.
    Q_INVOKABLE int count() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    // Throws std::out_of_range for an index outside 0..count()-1.
    const SmoothListItem& item(int index) const;
    // The row's markup text; empty for an index outside the rows.
    Q_INVOKABLE QString itemNotes(int index) const;
    int addItem(const SmoothListItem& item);
    void setItem(int index, const SmoothListItem& item);
    void removeItem(int index);
    void clear();

    // Suspends drawing and layout while rows are added; calls nest. Taps are
    // ignored while suspended, since the rows on screen are not the list's rows.
    // An endUpdate without a matching beginUpdate does nothing.
    void beginUpdate();
    void endUpdate();
    bool isUpdating() const { return updateDepth_ > 0; }

    // Suspends updates for the lifetime of the object, also when an exception leaves the scope.
    class UpdateScope {
    public:
        explicit UpdateScope(SmoothListBox& list) : list_(list) { list_.beginUpdate(); }
        ~UpdateScope() { list_.endUpdate(); }
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;

    private:
        SmoothListBox& list_;
    };

    // -1 when no row is selected. Setting an index outside the rows changes
    // nothing; -1 clears the selection. A row that becomes selected, from code
    // or by a tap, raises itemSelected and is scrolled into view. Also
    // reachable through the meta-object, like count.
    Q_INVOKABLE int selectedIndex() const { return selectedIndex_; }
    void setSelectedIndex(int index);

    int rowHeight() const { return rowHeight_; }
    void setRowHeight(int pixels);
    Graphic graphic() const { return graphic_; }
    void setGraphic(Graphic graphic);
    // A picture replaces the drawn button face; a null picture brings the face back.
    void setGraphicPicture(const QPixmap& picture);
    int graphicWidth() const { return graphicWidth_; }
    void setGraphicWidth(int pixels);
    // Drawn aligned left under the rows instead of the fill.
    void setBackgroundPicture(const QPixmap& picture);
    // The fill under the rows when there is no picture; dark and translucent by default.
    void setFillColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setSelectedTextColor(const QColor& color);

    // Geometry in viewport coordinates, for the current scroll position.
    Q_INVOKABLE QRect itemRect(int index) const;
    Q_INVOKABLE QRect graphicRect(int index) const;
    int indexAt(const QPoint& viewportPos) const;
    Q_INVOKABLE void scrollToItem(int index);

signals:
    void itemClicked(int index);
    void itemSelected(int index);
    void graphicClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Row {
        SmoothListItem item;
        ItemMarkup markup;
    };

    void checkIndex(int index) const;
    void refresh();
    void updateScrollRange();
    // The height rows are shown in. The viewport is laid out only when the list
    // is first shown; until then its own height is a default, not the list's.
    int viewportHeight() const;
    void paintRow(QPainter& painter, int index) const;
    void paintGraphic(QPainter& painter, const QRect& rect, bool pressed) const;
    void glide(qreal velocity);

    QList<Row> rows_;
    int selectedIndex_ = -1;
    int updateDepth_ = 0;
    int rowHeight_ = 35;
    Graphic graphic_ = Graphic::None;
    QPixmap graphicPicture_;
    int graphicWidth_ = 38;
    QPixmap background_;
    QColor fillColor_;
    QColor textColor_;
    QColor selectedTextColor_;

    // The gesture in progress: a tap unless the finger moved far enough to drag.
    struct Touch {
        bool active = false;
        bool dragging = false;
        int index = -1;
        bool onGraphic = false;
        QPoint startPos;
        int startScroll = 0;
        qint64 lastMoveTime = 0;
        int lastMoveY = 0;
        qreal velocity = 0;  // pixels per millisecond
    } touch_;
    QVariantAnimation* glideAnimation_ = nullptr;
};
