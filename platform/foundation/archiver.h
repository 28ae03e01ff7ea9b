// Archiver: writes objects as a little-endian typedstream through the object encoders of
// the coder registry, in the layout the platform's own archiver gives the same objects.
//
// Shared strings (class names, type encodings) and classes are written once and then
// referred to by number; equal NSString objects are written once too, as the platform
// does for a dictionary's repeated constant keys. An array or dictionary met again (a copy
// sharing its storage, as reading an archive's references gives) is written as a reference
// to the first, as the platform writes an object met again: the bytes written stay in
// proportion to the values held, however often they are shared. An encoder that meets a value it cannot
// write calls fail(); the first failure is kept and archivedData() is then not to be used.
#pragma once

#include "platform/foundation/first_seen_numbers.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/typedstream_output.h"
#include "platform/foundation/typedstream_type_encoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <any>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

class Archiver;
struct ArchiveCoderTable;
using ObjectEncoder = std::function<bool(Archiver &out, const std::any &object)>;

// One class of the chain an object is written with: name and version.
struct ClassVersion {
    const char *name;
    int version;
};

class Archiver {
public:
    // Writes with the shared registry's coders.
    Archiver();
    explicit Archiver(std::shared_ptr<const ArchiveCoderTable> coders);
    ~Archiver();
    Archiver(const Archiver &) = delete;
    Archiver &operator=(const Archiver &) = delete;

    bool encodeRootObject(const std::any &object);
    QByteArray archivedData() const { return m_out.data(); }

    bool failed() const { return !m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    // Records the first error and answers false.
    bool fail(const QString &message);

    // Writing values, for encoders. Outside a group each value is a group of its own
    // (with its type encoding before it); inside beginGroup/endGroup the values follow the
    // group's encoding one by one, as the platform's multi-value calls write them.
    // '@': an empty std::any or an absent PropertyList is nil; a PropertyList string is an
    // NSString; anything else goes to the encoder registered for its type.
    void encodeObject(const std::any &object);
    void encodePropertyListObject(const PropertyList &value);   // the same, for a property list
    void encodeStringObject(const QString &string);      // '@' holding an NSString
    void encodeInt(qint64 value, char type = 'i');       // any integer type
    void encodeFloat(float value);                       // 'f'
    void encodeDouble(double value);                     // 'd'
    void encodeBytes(const QByteArray &bytes);           // '+', a byte string
    void encodeCString(const QByteArray &string);        // '*', a C string
    void encodeByteArray(const QByteArray &bytes);       // "[Nc]"
    void encodeFloatArray(const std::vector<float> &values);   // "[Nf]"
    // A value of the given type from its bytes as they lie in memory (see ArchivedValue).
    void encodeValueOfType(const TypeEncoding &type, const QByteArray &bytes);
    void beginGroup(QByteArrayView types);
    void endGroup();

    // Starts the object an encoder writes (every encoder calls it once, first): its class
    // chain, most derived class first, ending at the root class
    // ({"NSString", 1}, {"NSObject", 0}). The end of the object is written for it.
    void beginObject(std::initializer_list<ClassVersion> chain);

private:
    void beginValue(QByteArrayView encoding);
    void writeSharedString(QByteArrayView text);
    void writeRawValue(const TypeEncoding &type, const QByteArray &bytes, qint64 offset);
    void encodeObjectValue(const std::any &object);
    void encodePropertyListValue(const PropertyList &plist);
    // Writes one object's values through `encode` and ends the object.
    template <typename Encode>
    void writeObject(const Encode &encode, const char *typeName);
    void encodeStringObjectValue(const QString &string);
    // Where an object that equal values share is recorded once written.
    struct SharingKey {
        FirstSeenNumbers<QByteArray> *table = nullptr;
        QByteArray key;
    };
    // The object number of an equal data or number object written before; otherwise
    // nothing, and `key` says where to record this one (no table for other values).
    std::optional<qint64> sharedObjectNumber(const PropertyList &plist, SharingKey &key);

    TypedStreamOutput m_out;
    std::shared_ptr<const ArchiveCoderTable> m_coders;
    FirstSeenNumbers<QByteArray> m_sharedStrings;
    qint64 m_singleCharStrings[128];   // the numbers of one-character shared strings; -1 for none yet
    FirstSeenNumbers<QByteArray> m_classes;
    FirstSeenNumbers<QString> m_stringObjects;
    FirstSeenNumbers<QByteArray> m_dataObjects;     // keyed by the bytes
    FirstSeenNumbers<QByteArray> m_numberObjects;   // keyed by numberKey()
    // Arrays and dictionaries written, by their shared storage: the object number, and a copy
    // that keeps the storage (and so its address) alive while the archive is written.
    std::unordered_map<const void *, std::pair<qint64, PropertyList>> m_containerObjects;
    qint64 m_nextObjectNumber = 0;
    TypeEncodings m_group;   // the open group's types; null outside a group
    QByteArray m_lastGroupText;
    TypeEncodings m_lastGroup;
    const std::type_info *m_lastEncodedType = nullptr;
    const ObjectEncoder *m_lastEncoder = nullptr;
    size_t m_groupPos = 0;
    bool m_objectStarted = false;
    QString m_error;
};
