#include "widgets/memorytable.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void fail(const QString& message) {
    throw MemoryTableError(message.toStdString());
}

[[noreturn]] void failConversion(const QVariant& stored, const char* kind,
                                 const QString& fieldName) {
    fail(QStringLiteral("'%1' is not a valid %2 value for field %3")
             .arg(stored.toString(), QLatin1String(kind), fieldName));
}

int toInteger(const QVariant& stored, const QString& fieldName) {
    switch (stored.typeId()) {
        case QMetaType::Int:
            return stored.toInt();
        case QMetaType::Double: {
            const double value = std::round(stored.toDouble());
            if (value < std::numeric_limits<int>::min() ||
                value > std::numeric_limits<int>::max()) {
                fail(QStringLiteral("%1 is out of the integer range for field %2")
                         .arg(stored.toDouble())
                         .arg(fieldName));
            }
            return static_cast<int>(value);
        }
        default: {
            bool ok = false;
            const int value = stored.toString().trimmed().toInt(&ok);
            if (!ok) {
                failConversion(stored, "integer", fieldName);
            }
            return value;
        }
    }
}

double toFloat(const QVariant& stored, const QString& fieldName) {
    if (stored.typeId() == QMetaType::Int || stored.typeId() == QMetaType::Double) {
        return stored.toDouble();
    }
    bool ok = false;
    const double value = stored.toString().trimmed().toDouble(&ok);
    if (!ok) {
        failConversion(stored, "floating point", fieldName);
    }
    return value;
}

QString toText(const QVariant& stored) {
    if (stored.typeId() == QMetaType::Double) {
        return QString::number(stored.toDouble(), 'g', 15);
    }
    return stored.toString();
}

// Converts a value to what a field of the definition stores.
QVariant toStored(const FieldDefinition& field, const QVariant& value) {
    if (value.isNull()) {
        return QVariant();
    }
    switch (field.type) {
        case FieldType::Integer:
            return toInteger(value, field.name);
        case FieldType::Float:
            return toFloat(value, field.name);
        case FieldType::Text: {
            const QString text = toText(value);
            return field.size > 0 ? text.left(field.size) : text;
        }
    }
    return QVariant();
}

}  // namespace

// ---- MemoryField ----

int MemoryField::column() const {
    return table_->requireColumn(name_);
}

const FieldDefinition& MemoryField::definition() const {
    return table_->fields_[column()];
}

QVariant MemoryField::value() const {
    return table_->read(column());
}

void MemoryField::setValue(const QVariant& value) {
    table_->write(column(), value);
}

bool MemoryField::isNull() const {
    return value().isNull();
}

int MemoryField::asInteger() const {
    const QVariant stored = value();
    return stored.isNull() ? 0 : toInteger(stored, name());
}

QString MemoryField::asText() const {
    return toText(value());
}

double MemoryField::asFloat() const {
    const QVariant stored = value();
    return stored.isNull() ? 0.0 : toFloat(stored, name());
}

void MemoryField::setInteger(int value) {
    setValue(value);
}

void MemoryField::setText(const QString& value) {
    setValue(value);
}

void MemoryField::setFloat(double value) {
    setValue(value);
}

void MemoryField::clear() {
    setValue(QVariant());
}

// ---- MemoryTable ----

void MemoryTable::addField(const QString& name, FieldType type, int size) {
    if (isActive()) {
        fail(QStringLiteral("Cannot add field %1 while the table is open").arg(name));
    }
    if (columnOf(name) >= 0) {
        fail(QStringLiteral("Duplicate field name %1").arg(name));
    }
    fields_.append(FieldDefinition{name, type, qMax(0, size)});
    for (QList<QVariant>& row : rows_) {
        row.append(QVariant());
    }
}

int MemoryTable::columnOf(const QString& name) const {
    for (int column = 0; column < fields_.size(); ++column) {
        if (fields_[column].name.compare(name, Qt::CaseInsensitive) == 0) {
            return column;
        }
    }
    return -1;
}

int MemoryTable::requireColumn(const QString& name) const {
    const int column = columnOf(name);
    if (column < 0) {
        fail(QStringLiteral("Field %1 not found").arg(name));
    }
    return column;
}

MemoryField MemoryTable::field(const QString& name) {
    requireColumn(name);
    return MemoryField(*this, name);
}

void MemoryTable::requireActive() const {
    if (!isActive()) {
        fail(QStringLiteral("Cannot perform this operation on a closed table"));
    }
}

void MemoryTable::open() {
    if (isActive()) {
        return;
    }
    state_ = State::Browse;
    first();
}

void MemoryTable::close() {
    buffer_.clear();
    state_ = State::Inactive;
    current_ = -1;
}

void MemoryTable::empty() {
    requireActive();
    rows_.clear();
    buffer_.clear();
    state_ = State::Browse;
    current_ = -1;
    eof_ = bof_ = true;
}

int MemoryTable::recordCount() const {
    requireActive();
    return static_cast<int>(rows_.size());
}

void MemoryTable::settle() {
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert) {
        post();
    }
}

void MemoryTable::append() {
    settle();
    buffer_ = QList<QVariant>(fields_.size());
    beforeInsert_ = current_;
    state_ = State::Insert;
    current_ = static_cast<int>(rows_.size());
    eof_ = bof_ = false;
}

void MemoryTable::edit() {
    settle();
    if (rows_.isEmpty()) {
        fail(QStringLiteral("Cannot edit a row of an empty table"));
    }
    buffer_ = rows_[current_];
    state_ = State::Edit;
}

void MemoryTable::post() {
    requireActive();
    if (state_ == State::Insert) {
        rows_.append(buffer_);
        current_ = static_cast<int>(rows_.size()) - 1;
    } else if (state_ == State::Edit) {
        rows_[current_] = buffer_;
    }
    buffer_.clear();
    state_ = State::Browse;
}

void MemoryTable::cancel() {
    requireActive();
    if (state_ == State::Insert) {
        current_ = beforeInsert_;
    }
    buffer_.clear();
    state_ = State::Browse;
}

void MemoryTable::deleteCurrent() {
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (rows_.isEmpty()) {
        fail(QStringLiteral("Cannot delete a row of an empty table"));
    }
    cancel();
    rows_.removeAt(current_);
    current_ = qMin(current_, static_cast<int>(rows_.size()) - 1);
    eof_ = bof_ = rows_.isEmpty();
}

void MemoryTable::first() {
    settle();
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = bof_ = rows_.isEmpty();
}

void MemoryTable::last() {
    settle();
    current_ = static_cast<int>(rows_.size()) - 1;
    eof_ = bof_ = rows_.isEmpty();
}

void MemoryTable::next() {
    settle();
    if (current_ + 1 < rows_.size()) {
        ++current_;
        eof_ = bof_ = false;
    } else {
        eof_ = true;
    }
}

void MemoryTable::prior() {
    settle();
    if (current_ > 0) {
        --current_;
        eof_ = bof_ = false;
    } else {
        bof_ = true;
    }
}

bool MemoryTable::eof() const {
    requireActive();
    return eof_;
}

bool MemoryTable::bof() const {
    requireActive();
    return bof_;
}

int MemoryTable::recNo() const {
    requireActive();
    return current_;
}

bool MemoryTable::locate(const QString& fieldName, const QVariant& value) {
    const int column = requireColumn(fieldName);
    settle();
    QVariant wanted;
    try {
        wanted = toStored(fields_[column], value);
    } catch (const MemoryTableError&) {
        return false;  // a value the field cannot hold matches no row
    }
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_[row][column] == wanted) {
            current_ = row;
            eof_ = bof_ = false;
            return true;
        }
    }
    return false;
}

QVariant MemoryTable::read(int column) const {
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert) {
        return buffer_[column];
    }
    return current_ >= 0 ? rows_[current_][column] : QVariant();
}

void MemoryTable::write(int column, const QVariant& value) {
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert) {
        fail(QStringLiteral("Table not in edit or insert mode"));
    }
    buffer_[column] = toStored(fields_[column], value);
}
