#include "console/uppercaseedit.h"

#include <QTextCursor>
#include <QValidator>

namespace {

// Typed text reaches the field through validate(), which may rewrite it.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

TUpperCaseEdit::TUpperCaseEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new UpperCaseValidator(this));
}

void TUpperCaseEdit::setText(const QString& text) {
    QLineEdit::setText(text.toUpper());
}

TUpperCasePlainEdit::TUpperCasePlainEdit(QWidget* parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, &TUpperCasePlainEdit::upperCaseContents);
}

void TUpperCasePlainEdit::setPlainText(const QString& text) {
    QPlainTextEdit::setPlainText(text.toUpper());
}

void TUpperCasePlainEdit::upperCaseContents() {
    if (adjusting_) {
        return;
    }
    const QString text = toPlainText();
    const QString upper = text.toUpper();
    if (upper == text) {
        return;
    }
    // Upper-casing can change the length (ß becomes SS): keep the cursor at
    // the same distance from the end.
    const int fromEnd = static_cast<int>(text.size()) - textCursor().position();
    adjusting_ = true;
    QPlainTextEdit::setPlainText(upper);
    QTextCursor cursor = textCursor();
    cursor.setPosition(qMax(0, static_cast<int>(upper.size()) - fromEnd));
    setTextCursor(cursor);
    adjusting_ = false;
}
