#include "widgets/itemmarkup.h"

#include <QRegularExpression>
#include <optional>

namespace {

struct TextStyle {
    bool italic = false;
    bool bold = false;
    bool underline = false;
};

// Builds lines of runs; a new run starts at every style change or indent.
class MarkupBuilder {
public:
    MarkupBuilder() { markup_.lines.append(MarkupLine{}); }

    void appendText(const QString& text) {
        if (text.isEmpty()) {
            return;
        }
        MarkupLine& line = markup_.lines.last();
        const bool continuesLastRun =
            !line.runs.isEmpty() && !pendingIndent() && sameStyle(line.runs.last(), style_);
        if (continuesLastRun) {
            line.runs.last().text += text;
            return;
        }
        line.runs.append(
            MarkupRun{text, pendingIndent_, style_.italic, style_.bold, style_.underline});
        pendingIndent_ = -1;
    }

    void breakLine() {
        flushIndent();
        markup_.lines.append(MarkupLine{});
    }

    void indentTo(int column) {
        flushIndent();
        pendingIndent_ = column;
    }

    TextStyle& style() { return style_; }

    ItemMarkup finish() {
        flushIndent();
        return std::move(markup_);
    }

private:
    bool pendingIndent() const { return pendingIndent_ >= 0; }

    // An indent with no text after it still moves the column, so keep it as an empty run.
    void flushIndent() {
        if (pendingIndent()) {
            markup_.lines.last().runs.append(
                MarkupRun{QString(), pendingIndent_, style_.italic, style_.bold, style_.underline});
            pendingIndent_ = -1;
        }
    }

    static bool sameStyle(const MarkupRun& run, const TextStyle& style) {
        return run.italic == style.italic && run.bold == style.bold &&
               run.underline == style.underline;
    }

    ItemMarkup markup_;
    TextStyle style_;
    int pendingIndent_ = -1;
};

struct Tag {
    enum class Kind { Ignored, LineBreak, Italic, Bold, Underline, Indent };
    Kind kind;
    bool closing = false;
    int column = 0;
};

std::optional<Tag> recogniseTag(const QString& inside) {
    static const QRegularExpression indentTag(
        QStringLiteral(R"re(^ind\s+x\s*=\s*(?:"(\d+)"|'(\d+)'|(\d+))$)re"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name = inside.trimmed().toLower();
    if (name == u"html" || name == u"/html") {
        return Tag{Tag::Kind::Ignored};
    }
    if (name == u"br" || name == u"br/" || name == u"br /") {
        return Tag{Tag::Kind::LineBreak};
    }
    const bool closing = name.startsWith(u'/');
    const QStringView bare = closing ? QStringView(name).mid(1) : QStringView(name);
    if (bare == u"i") {
        return Tag{Tag::Kind::Italic, closing};
    }
    if (bare == u"b") {
        return Tag{Tag::Kind::Bold, closing};
    }
    if (bare == u"u") {
        return Tag{Tag::Kind::Underline, closing};
    }
    if (const QRegularExpressionMatch indent = indentTag.match(name); indent.hasMatch()) {
        const QString digits = indent.captured(1) + indent.captured(2) + indent.captured(3);
        return Tag{Tag::Kind::Indent, false, digits.toInt()};
    }
    return std::nullopt;
}

void applyTag(const Tag& tag, MarkupBuilder& builder) {
    TextStyle& style = builder.style();
    switch (tag.kind) {
        case Tag::Kind::Ignored:
            break;
        case Tag::Kind::LineBreak:
            builder.breakLine();
            break;
        case Tag::Kind::Italic:
            style.italic = !tag.closing;
            break;
        case Tag::Kind::Bold:
            style.bold = !tag.closing;
            break;
        case Tag::Kind::Underline:
            style.underline = !tag.closing;
            break;
        case Tag::Kind::Indent:
            builder.indentTo(tag.column);
            break;
    }
}

// Decodes the entity starting at source[pos] ('&'); returns its length, 0 if none.
qsizetype decodeEntity(const QString& source, qsizetype pos, QString& decoded) {
    const qsizetype end = source.indexOf(u';', pos);
    if (end < 0 || end - pos > 10) {
        return 0;
    }
    const QString name = source.mid(pos + 1, end - pos - 1);
    static const QList<std::pair<QString, QChar>> named = {
        {QStringLiteral("amp"), u'&'},   {QStringLiteral("lt"), u'<'},
        {QStringLiteral("gt"), u'>'},    {QStringLiteral("quot"), u'"'},
        {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), QChar(0x00A0)},
    };
    for (const auto& [entity, character] : named) {
        if (name.compare(entity, Qt::CaseInsensitive) == 0) {
            decoded = character;
            return end - pos + 1;
        }
    }
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF) {
            const char32_t codePoint = code;
            decoded = QString::fromUcs4(&codePoint, 1);
            return end - pos + 1;
        }
    }
    return 0;
}

}  // namespace

ItemMarkup parseItemMarkup(const QString& source) {
    MarkupBuilder builder;
    QString text;
    qsizetype pos = 0;
    while (pos < source.size()) {
        const QChar c = source[pos];
        if (c == u'<') {
            const qsizetype close = source.indexOf(u'>', pos + 1);
            if (close > pos) {
                if (const auto tag = recogniseTag(source.mid(pos + 1, close - pos - 1))) {
                    builder.appendText(text);
                    text.clear();
                    applyTag(*tag, builder);
                    pos = close + 1;
                    continue;
                }
            }
        } else if (c == u'&') {
            QString decoded;
            if (const qsizetype length = decodeEntity(source, pos, decoded); length > 0) {
                text += decoded;
                pos += length;
                continue;
            }
        }
        text += c;
        ++pos;
    }
    builder.appendText(text);
    return builder.finish();
}

QString ItemMarkup::plainText() const {
    QStringList lineTexts;
    for (const MarkupLine& line : lines) {
        QString lineText;
        for (const MarkupRun& run : line.runs) {
            if (run.indent >= 0) {
                lineText += u'\t';
            }
            lineText += run.text;
        }
        lineTexts.append(lineText);
    }
    return lineTexts.join(u'\n');
}
