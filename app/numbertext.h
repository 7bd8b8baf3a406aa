#pragma once

#include <QString>
#include <optional>

// Integers written as venues and room players write them: decimal, or
// hexadecimal as "$1F" or "0x1F", with an optional sign, within 32 bits.
namespace numbertext {

std::optional<qint32> ParseInteger(const QString& text);
// Throws std::invalid_argument "'text' is not a valid integer value".
qint32 StrToInt(const QString& text);

}  // namespace numbertext
