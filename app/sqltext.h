#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <variant>

// The one place that turns values into SQL text. Every session runs with
// NO_BACKSLASH_ESCAPES (see TAdoConnection), so doubling the single quote is all
// a literal needs: a backslash inside it is an ordinary character.
namespace sqltext {

// 'text' with every embedded single quote doubled.
QString QuotedStr(const QString& text);

// One argument of a call text: integers in decimal, texts as literals.
using Argument = std::variant<qint64, QString>;

// name + "(" + arguments joined by "," + ");"
QString CallText(const QString& name, std::initializer_list<Argument> arguments);

}  // namespace sqltext
