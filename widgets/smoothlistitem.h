#pragma once

#include <QString>

// One row of a SmoothListBox. `notes` is the row's text in item markup
// (see itemmarkup.h) and is kept exactly as given; tag, hint and caption are
// the caller's data and are not drawn.
struct SmoothListItem {
    QString notes{};
    int tag = 0;
    QString hint{};
    QString caption{};
    bool enabled = true;
};
