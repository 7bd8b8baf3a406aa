#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

// A one-line field that holds its text in capitals: what is typed and what code
// puts into it are turned to upper case. setText hides QLineEdit::setText, so
// callers reach it through this type.
class TUpperCaseEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TUpperCaseEdit(QWidget* parent = nullptr);
    void setText(const QString& text);
};

// The multi-line counterpart, for notes.
class TUpperCasePlainEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TUpperCasePlainEdit(QWidget* parent = nullptr);
    void setPlainText(const QString& text);

private slots:
    void upperCaseContents();

private:
    bool adjusting_ = false;
};
