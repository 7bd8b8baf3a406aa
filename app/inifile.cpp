#include "app/inifile.h"

#include "app/numbertext.h"

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
    return numbertext::ParseInteger(*text).value_or(def);
}
