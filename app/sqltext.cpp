#include "app/sqltext.h"

namespace sqltext {

QString QuotedStr(const QString& text) {
    QString doubled = text;
    doubled.replace('\'', QStringLiteral("''"));
    return '\'' + doubled + '\'';
}

QString CallText(const QString& name, std::initializer_list<Argument> arguments) {
    QStringList parts;
    for (const Argument& argument : arguments) {
        if (const auto* number = std::get_if<qint64>(&argument)) {
            parts << QString::number(*number);
        } else {
            parts << QuotedStr(std::get<QString>(argument));
        }
    }
    return name + '(' + parts.join(',') + ");";
}

}  // namespace sqltext
