#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include "widgets/itemmarkup.h"

class QPainter;

// Draws parsed item markup inside a rectangle, its lines centred vertically.
// An indent works like a tab stop measured from the rectangle's left edge: the
// text after it starts at that column, or one space after the text before it
// when that text already reaches past the column, so short texts line up in
// columns and nothing is lost to a narrow column. Text that would run past the
// right edge is elided.
void paintItemMarkup(QPainter& painter, const ItemMarkup& markup, const QRect& area,
                     const QFont& font, const QColor& color);
