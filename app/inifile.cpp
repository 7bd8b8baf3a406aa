#include "app/inifile.h"

#include <QFile>
#include <QTextStream>

TIniFile::TIniFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;  // a missing file reads as an empty one: every key takes its default
    }
    QTextStream in(&file);
    QString section;
    bool inSection = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(';')) {
            continue;
        }
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inSection || eq <= 0) {
            continue;
        }
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.mid(1, value.size() - 2);
        }
        entries_.push_back({section, line.left(eq).trimmed(), value});
    }
}

std::optional<QString> TIniFile::find(const QString& section, const QString& key) const {
    for (const Entry& entry : entries_) {
        if (entry.section.compare(section, Qt::CaseInsensitive) == 0 &&
            entry.key.compare(key, Qt::CaseInsensitive) == 0) {
            return entry.value;
        }
    }
    return std::nullopt;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return find(section, key).value_or(def);
}

qint32 TIniFile::ReadInteger(const QString& section, const QString& key, qint32 def) const {
    const std::optional<QString> text = find(section, key);
    if (!text) {
        return def;
    }
    return ParseInteger(*text).value_or(def);
}

std::optional<qint32> TIniFile::ParseInteger(const QString& text) {
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
