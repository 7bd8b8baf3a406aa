#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A read-only Windows-style INI file: section and key names compare without
// regard to case, the first occurrence of a section or key wins, values are
// trimmed, and a missing file or key yields the caller's default.
class TIniFile {
public:
    explicit TIniFile(const QString& fileName);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal written "0x1F" or "$1F", with an optional sign;
    // anything else, or a value outside 32 bits, yields the default.
    qint32 ReadInteger(const QString& section, const QString& key, qint32 def) const;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    std::optional<QString> find(const QString& section, const QString& key) const;

    std::vector<Entry> entries_;
};
