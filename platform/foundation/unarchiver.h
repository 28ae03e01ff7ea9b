// Unarchiver: reads objects from a typedstream (either byte order) through the class
// decoders of the coder registry.
//
// It never throws and never trusts the input: every read is bounds-checked, reference
// numbers must name an entry of the right kind that is already complete (so cycles are
// refused), counts and lengths are bounded by the bytes left, and objects nest at most
// maxDepth deep. The first error stops reading: every later read answers false, and
// error() says what went wrong.
//
// Values are read one at a time, in the order the object wrote them. The reader takes the
// type of each from the group encodings in the stream, so a coder need not know how the
// writer grouped its values ("ffff" at once or "f" four times read the same); a value of
// the wrong type is an error. Values an object holds beyond what its decoder reads are
// read past.
#pragma once

#include "platform/foundation/archived_value.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/typedstream_input.h"
#include "platform/foundation/typedstream_type_encoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <any>
#include <functional>
#include <memory>
#include <vector>

struct ArchiveCoderTable;
class Unarchiver;
using ClassDecoder = std::function<bool(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)>;

class Unarchiver {
public:
    static constexpr int maxDepth = 200;

    // Reads with the shared registry's coders.
    explicit Unarchiver(const QByteArray &data);
    Unarchiver(const QByteArray &data, std::shared_ptr<const ArchiveCoderTable> coders);
    ~Unarchiver();
    Unarchiver(const Unarchiver &) = delete;
    Unarchiver &operator=(const Unarchiver &) = delete;

    // Reads the header and the root object (nil gives an empty std::any).
    bool decodeRootObject(std::any &object);
    // Reads the header alone. Archives whose top level is not one object (a count, then
    // groups of objects, as colour-list files are) are then read value by value with the
    // decode functions below, until atEnd().
    bool decodeHeader();
    bool atEnd() const { return m_in.atEnd(); }

    bool failed() const { return !m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    // Records the first error and answers false.
    bool fail(const QString &message);
    // What was left out (objects of unsupported classes inside containers).
    const QStringList &notes() const { return m_notes; }
    void addNote(const QString &note);
    bool isBigEndian() const { return m_in.isBigEndian(); }
    // The bytes not read yet: an upper bound for any count the stream announces.
    qint64 remainingBytes() const { return m_in.remaining(); }

    // Reading the values of an object, for decoders.
    bool decodeObject(std::any &object);                  // '@'; nil gives an empty std::any
    // An object as decodeObject reads it, without copying it out: `object` points at the
    // value the unarchiver keeps, valid until the next read. `number` finds the value again
    // through objectNumbered() for as long as the unarchiver lives; it is -1 for nil and
    // for a reference to an object still being read, which only `object` holds.
    bool decodeObjectInPlace(const std::any *&object, qint64 &number);
    const std::any &objectNumbered(qint64 number) const { return m_table[size_t(number)].object; }
    bool decodeInt(qint64 &value);                        // any integer type
    bool decodeReal(double &value);                       // 'f' or 'd' (or an integer)
    bool decodeFloat(float &value);
    bool decodeBytes(QByteArray &bytes);                  // '+', a byte string
    bool decodeCString(QByteArray &string);               // '*', a C string
    bool decodeByteArray(QByteArray &bytes);              // "[Nc]" or "[NC]"
    bool decodeFloatArray(std::vector<float> &values);    // "[Nf]" or "[Nd]"
    // A value of the given type as it lies in memory (see ArchivedValue); the stream's next
    // value must have exactly this encoding.
    bool decodeValueOfType(const TypeEncoding &type, QByteArray &bytes);
    // The type of the next value of the object, or null at its end.
    const TypeEncoding *peekType();

private:
    struct SharedString {
        QByteArray text;
        TypeEncodings types;   // parsed when first used as a type encoding
    };
    // A class as read, with the decoder its objects are read by (its own or its nearest
    // ancestor's), found once per class.
    struct KnownClass : ArchivedClass {
        const ClassDecoder *decoder = nullptr;
        const ArchivedClass *decodedAs = nullptr;   // the class of the chain the decoder is for
        bool decoderFound = false;
    };
    struct Entry {
        enum Kind { Pending, Object, Class, CString } kind = Pending;
        std::any object;
        const ArchivedClass *archivedClass = nullptr;
        QByteArray cString;
    };

    const TypeEncoding *nextValue(bool (*accepts)(const TypeEncoding &), const char *expected);
    bool readHead(int &head);
    bool readReferenceNumber(int head, qint64 &number);
    bool readUnsharedString(int head, QByteArray &text, bool &isNil);
    bool readSharedString(int head, int &index);   // -1 for nil
    bool readCStringValue(int head, QByteArray &text);
    bool readClass(int head, const ArchivedClass *&archivedClass);
    bool readNewObject(const std::any *&object, qint64 &number);
    bool readObjectValue(std::any &object);
    bool readObjectInPlace(const std::any *&object, qint64 &number);
    const KnownClass &knownClass(const ArchivedClass &archivedClass) const;
    bool readIntegerValue(const TypeEncoding &type, qint64 &value);
    // Reads one value of any type; stores scalars into `raw` at `offset` when given.
    bool readValue(const TypeEncoding &type, QByteArray *raw, qint64 offset, int depth);
    bool skipToEndOfObject();

    QByteArray m_data;
    TypedStreamInput m_in;
    std::shared_ptr<const ArchiveCoderTable> m_coders;
    std::vector<SharedString> m_strings;
    std::vector<Entry> m_table;
    std::vector<std::unique_ptr<KnownClass>> m_classes;   // where the chains point
    std::any m_backReference;   // what decodeObjectInPlace answers for an incomplete object
    // The group being read: its types and the next one's position.
    const std::vector<TypeEncoding> *m_group = nullptr;
    size_t m_groupPos = 0;
    int m_depth = 0;
    QString m_error;
    QStringList m_notes;
};
