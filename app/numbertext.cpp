#include "app/numbertext.h"

#include <stdexcept>

namespace numbertext {

std::optional<qint32> ParseInteger(const QString& text) {
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith('-') || digits.startsWith('+')) {
        negative = digits.front() == '-';
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith('$')) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith("0x", Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    if (digits.isEmpty() || digits.front() == '+' || digits.front() == '-') {
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, base);
    if (!ok) {
        return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal spells the 32 bits themselves: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        const qint64 bits = static_cast<qint32>(static_cast<quint32>(magnitude));
        return static_cast<qint32>(negative ? -bits : bits);
    }
    const qlonglong value = negative ? -static_cast<qlonglong>(magnitude) : magnitude;
    if (magnitude > 0x80000000ull || value > INT32_MAX || value < INT32_MIN) {
        return std::nullopt;
    }
    return static_cast<qint32>(value);
}

qint32 StrToInt(const QString& text) {
    const std::optional<qint32> value = ParseInteger(text);
    if (!value) {
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    }
    return *value;
}

}  // namespace numbertext
