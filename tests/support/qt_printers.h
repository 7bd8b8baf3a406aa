#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show Qt texts as text in its failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}
