// PropertyList: the value held by dictionaries, arrays and stored documents.
//
// A PropertyList is one of: absent (no value), string, integer, real, bool, data, date,
// point, size, rect, array or dictionary. It is a cheap-to-copy value: strings and data are
// Qt's implicitly shared types and arrays and dictionaries are shared until one copy is
// changed (copy on write), so passing and returning PropertyLists by value is fine.
//
// Reading never fails and never needs a check first: a missing key, an index out of range
// or a value of the wrong kind gives the absent value, whose accessors answer 0, false,
// empty. So `doc.value("background").value("shwBlur").floatValue()` is safe whatever the
// file held.
//
// Numbers: the text form stores every scalar as a string, so every number accessor also
// reads strings, with these rules (see c_locale.h):
//   intValue      leading blanks, an optional sign, digits; stops at the first other
//                 character; 0 when there are no digits; saturates at the int range.
//   floatValue,   the same with a decimal fraction and exponent ("  -1.5e3xyz" is -1500).
//   doubleValue
//   boolValue     leading blanks, an optional sign, leading zeros, then YES when the next
//                 character is Y, y, T, t or a digit 1-9 ("YES", "true", "1", "007").
// Numbers read from numbers: a real truncates towards zero for intValue; a bool is 0 or 1.
// Integers span the signed and the unsigned 64-bit ranges: one above 2^63-1 (an unsigned
// value from another writer) keeps its exact value in stringValue, doubleValue and
// unsignedLongLongValue; longLongValue saturates it.
//
// Reals remember whether they were made from a float or a double (isSinglePrecision), so an
// archive that held a float is written back as a float. Equality ignores that flag.
//
// Dictionaries have string keys and keep their insertion order (writers write the keys in
// that order); setting an existing key replaces its value in place. Lookup is a hash once a
// dictionary grows past a few entries, so 10,000-entry dictionaries are fine. Containers
// never hold the absent value: inserting it removes the key, appending it does nothing.
//
// Points, sizes and rects are the platform's struct values; their stringValue is the
// geometry text form ("{x, y}", "{w, h}", "{{x, y}, {w, h}}"), which is what the text form
// writes for them, and pointValue/sizeValue/rectValue read that text form back.
#pragma once

#include "platform/geometry/geometry.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

class PropertyList {
public:
    // The order matches the storage below; do not reorder.
    enum class Type { Absent, String, Integer, Real, Bool, Data, Date, Point, Size, Rect, Array, Dictionary };
    using Entry = std::pair<QString, PropertyList>;

    PropertyList() = default;                        // the absent value
    PropertyList(const QString &string);             // NOLINT: strings convert implicitly
    PropertyList(const char *utf8);                  // NOLINT
    PropertyList(QLatin1String latin1);              // NOLINT
    // Numbers and bools never convert implicitly (0 would otherwise become a string): use
    // fromInt, fromFloat, fromDouble or fromBool.
    PropertyList(int) = delete;
    PropertyList(std::nullptr_t) = delete;

    static PropertyList fromString(const QString &string) { return PropertyList(string); }
    static PropertyList fromInt(qint64 value);
    static PropertyList fromUnsigned(quint64 value);
    static PropertyList fromFloat(float value);     // a real marked single precision
    static PropertyList fromDouble(double value);
    static PropertyList fromBool(bool value);
    static PropertyList fromData(const QByteArray &data);
    static PropertyList fromDate(const QDateTime &date);   // kept in UTC; absent when invalid
    static PropertyList fromPoint(Point point);
    static PropertyList fromSize(Size size);
    static PropertyList fromRect(const Rect &rect);
    static PropertyList fromStringList(const QStringList &strings);   // an array of strings
    static PropertyList array();                   // an empty array
    // An empty dictionary, with room for `expectedCount` entries before it grows.
    static PropertyList dictionary(qsizetype expectedCount = 0);

    Type type() const { return Type(m_value.index()); }
    bool isAbsent() const { return type() == Type::Absent; }
    bool isString() const { return type() == Type::String; }
    bool isNumber() const;                         // integer, real or bool
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isSinglePrecision() const;                // a real made from a float
    bool isAboveSignedRange() const;               // an integer above 2^63-1
    explicit operator bool() const { return !isAbsent(); }

    // Scalars, with the string semantics above. stringValue: a string as it is; numbers in
    // the C locale (integers in decimal, reals in the shortest form that reads back to the
    // same value, bools as "1" and "0"); points, sizes and rects in their text form; a date
    // as "2001-01-01 00:00:00 +0000"; the empty string for data, arrays and dictionaries.
    QString stringValue() const;
    int intValue() const;
    qint64 longLongValue() const;
    quint64 unsignedLongLongValue() const;         // an integer's exact value; else longLongValue's
    float floatValue() const;
    double doubleValue() const;
    bool boolValue() const;
    QByteArray dataValue() const;                  // data only; empty otherwise
    QDateTime dateValue() const;                   // a date, or a date string; invalid otherwise
    Point pointValue() const;                      // a point, or its text form
    Size sizeValue() const;                        // a size, or its text form
    Rect rectValue() const;                        // a rect, or its text form
    QStringList stringListValue() const;           // an array's elements' stringValue

    // Arrays and dictionaries. count() is the number of elements or entries (0 otherwise).
    qsizetype count() const;
    PropertyList at(qsizetype index) const;        // absent out of range or for a non-array
    const std::vector<PropertyList> &elements() const;   // empty for a non-array
    void append(const PropertyList &value);        // turns an absent value into an array

    PropertyList value(const QString &key) const;  // absent when missing or not a dictionary
    bool contains(const QString &key) const;
    const std::vector<Entry> &entries() const;     // in insertion order; empty for a non-dictionary
    QStringList keys() const;
    // Sets or replaces; turns an absent value into a dictionary; an absent value removes the key.
    void insert(const QString &key, const PropertyList &value);
    void remove(const QString &key);

    // Deep equality: same kind and value; dictionaries compare as maps (order ignored).
    friend bool operator==(const PropertyList &a, const PropertyList &b);
    friend bool operator!=(const PropertyList &a, const PropertyList &b) { return !(a == b); }

private:
    struct Real {
        double value;
        bool single;
    };
    struct Integer {
        qint64 value;
        bool aboveSigned;   // the value is quint64(value), above the signed range
    };
    struct ArrayData;
    struct DictData;

    ArrayData &mutableArray();
    DictData &mutableDict();

    std::variant<std::monostate, QString, Integer, Real, bool, QByteArray, QDateTime, Point, Size, Rect,
                 std::shared_ptr<ArrayData>, std::shared_ptr<DictData>>
        m_value;
};

// Where a reader stopped and why. line and column are 1-based; offset counts characters
// (text form) or bytes (XML form) from the start.
struct PropertyListError {
    QString message;
    qsizetype offset = 0;
    int line = 0;
    int column = 0;

    // "line 3, column 7: missing ';' after a dictionary entry"
    QString toString() const;
};
