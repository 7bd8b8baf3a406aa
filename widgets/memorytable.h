#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>

// A small in-memory table with typed fields and a cursor, for data that lives
// only while a screen is in use (such as an order being composed).
//
//   MemoryTable order;
//   order.addField("idmenu", FieldType::Text, 20);
//   order.addField("qty", FieldType::Integer);
//   order.open();
//   order.append();
//   order.field("qty").setInteger(2);
//   order.post();
//   for (order.first(); !order.eof(); order.next()) { ... order.field("qty").asInteger() ... }
//
// Rules:
// - Changes go through append() or edit(), then post() (or cancel()). Moving
//   the cursor, locating, appending or editing again posts a pending change first.
// - Text longer than its field's size is cut to the size.
// - A field is read in any of the three types and converted: a text that is not
//   a number cannot be read or written as one and raises MemoryTableError.
// - Reading with no current row (empty table) gives a null value: 0, "" or 0.0.
// - close() drops a pending change but keeps the rows; open() puts the cursor
//   on the first row. Everything but adding fields needs an open table.

class MemoryTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FieldType { Integer, Text, Float };

struct FieldDefinition {
    QString name;
    FieldType type;
    int size = 0;  // longest text a Text field holds; 0 is unlimited
};

class MemoryTable;

// A column of the table, read and written at the table's current row. It finds
// its column by name at each use, so it may be made before the field is added;
// using it for a name the table lacks raises MemoryTableError. The table must
// outlive it.
class MemoryField {
public:
    MemoryField(MemoryTable& table, const QString& name) : table_(&table), name_(name) {}

    const FieldDefinition& definition() const;
    QString name() const { return name_; }

    bool isNull() const;
    int asInteger() const;
    QString asText() const;
    double asFloat() const;

    void setInteger(int value);
    void setText(const QString& value);
    void setFloat(double value);
    void clear();

private:
    int column() const;
    QVariant value() const;
    void setValue(const QVariant& value);

    MemoryTable* table_;
    QString name_;
};

class MemoryTable {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    MemoryTable() = default;
    MemoryTable(const MemoryTable&) = delete;
    MemoryTable& operator=(const MemoryTable&) = delete;

    // Only while closed; names are unique regardless of letter case.
    void addField(const QString& name, FieldType type, int size = 0);
    const QList<FieldDefinition>& fields() const { return fields_; }
    // Case-insensitive; throws MemoryTableError for an unknown name.
    MemoryField field(const QString& name);
    bool hasField(const QString& name) const { return columnOf(name) >= 0; }

    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    // Removes every row.
    void empty();
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }

    // Starts a new row, added at the end by post(); its fields start null.
    void append();
    // Starts changing the current row; throws on an empty table.
    void edit();
    void post();
    void cancel();
    // Deletes the current row; the cursor moves to the row that followed it,
    // or to the new last row. Deleting while appending cancels the new row.
    void deleteCurrent();

    void first();
    void last();
    void next();
    void prior();
    // True after next() on the last row, and on an empty table.
    bool eof() const;
    bool bof() const;
    // Index of the current row, -1 when the table is empty.
    int recNo() const;

    // Moves to the first row whose field equals the value, compared in the
    // field's type; false, with the cursor left alone, when no row matches.
    bool locate(const QString& fieldName, const QVariant& value);

private:
    friend class MemoryField;

    int columnOf(const QString& name) const;  // -1 when there is no such field
    int requireColumn(const QString& name) const;
    void requireActive() const;
    void settle();  // posts a pending change before the cursor moves
    QVariant read(int column) const;
    void write(int column, const QVariant& value);

    QList<FieldDefinition> fields_;
    QList<QList<QVariant>> rows_;
    QList<QVariant> buffer_;  // the row being appended or edited
    State state_ = State::Inactive;
    int current_ = -1;
    int beforeInsert_ = -1;
    bool eof_ = true;
    bool bof_ = true;
};
