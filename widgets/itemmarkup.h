#pragma once

#include <QList>
#include <QString>

// The small HTML-like markup of list item texts, e.g.
//   <html>TITLE<IND x="350">ARTIST</html>
//   <html>2 x<IND x="30"> NASI GORENG<br><IND x="30"><i> PEDAS</i></html>
// Understood: <html> and </html> (ignored), <br> (new line), <i> <b> <u> and
// their closing tags, <IND x="N"> (the rest of the line starts at pixel N),
// and the entities &amp; &lt; &gt; &quot; &#39; &nbsp; &#N;. Anything else,
// including a stray "<" or an unknown tag, is literal text: item texts are
// built from database values that may contain such characters.

struct MarkupRun {
    QString text;
    int indent = -1;  // pixel column where the run starts; -1 follows the previous run
    bool italic = false;
    bool bold = false;
    bool underline = false;
};

struct MarkupLine {
    QList<MarkupRun> runs;
};

struct ItemMarkup {
    QList<MarkupLine> lines;

    // The text without markup: lines joined by "\n", each indent as one "\t".
    QString plainText() const;
};

ItemMarkup parseItemMarkup(const QString& source);
