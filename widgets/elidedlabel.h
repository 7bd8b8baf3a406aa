#pragma once

#include <QLabel>

// A one-line label for texts from the databases, such as a song's title and
// artist or a guest's name: what does not fit ends in "…" instead of being cut
// off mid-letter.
// text() stays the whole text; only the painting is shortened.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The text as it is painted at the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};
