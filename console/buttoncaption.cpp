#include "console/buttoncaption.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>

#include "widgets/smoothbutton.h"

namespace {
// What the button's own painting keeps clear on each side of the caption.
constexpr int kCaptionMargin = 10;
constexpr int kSmallestCaption = 12;
}  // namespace

void FitButtonCaption(SmoothButton* button) {
    QFont font = button->font();
    font.setBold(true);
    // The size the button would pick for itself.
    int pixelSize = std::clamp(button->height() * 2 / 5, 14, 44);
    const int room = button->width() - 2 * kCaptionMargin;
    for (; pixelSize > kSmallestCaption; --pixelSize) {
        font.setPixelSize(pixelSize);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room) {
            break;
        }
    }
    font.setPixelSize(pixelSize);
    button->setFont(font);
}
