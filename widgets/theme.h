#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The shared look of the toolkit: a dark, translucent skin with light text and
// a red accent, so the native controls sit well on top of the skin movie.
namespace Theme {

QColor panelFill();
QColor panelBorder();
QColor text();
QColor mutedText();
QColor accent();
QColor selectedFill();
QColor selectedText();
QColor keyFill();
QColor keyPressedFill();

// A rounded rectangle with a soft vertical sheen, the face of keys, buttons and panels.
void paintRoundedFace(QPainter& painter, const QRectF& rect, const QColor& fill,
                      const QColor& border, qreal radius);

}  // namespace Theme
