// Reading objects from a typedstream.
#include "platform/foundation/unarchiver.h"

#include "platform/foundation/archive_coder_registry.h"

#include <cstring>
#include <limits>

using namespace TypedStream;

namespace {

constexpr int maxClassChain = 64;

bool isObjectType(const TypeEncoding &t) { return t.code == '@'; }
bool isIntegerType(const TypeEncoding &t) { return t.isInteger(); }
bool isRealType(const TypeEncoding &t) { return t.isFloat() || t.isInteger(); }
bool isByteStringType(const TypeEncoding &t) { return t.code == '+'; }
bool isCStringType(const TypeEncoding &t) { return t.code == '*'; }
bool isByteArrayType(const TypeEncoding &t)
{
    return t.code == '[' && (t.fields.front().code == 'c' || t.fields.front().code == 'C');
}
bool isRealArrayType(const TypeEncoding &t) { return t.code == '[' && t.fields.front().isFloat(); }

// The fewest stream bytes a value of the type can take (saturating at the int64 limit).
// Reading an array first checks that its elements can fit the bytes left, so the work of
// reading stays bounded by the input's size however the arrays nest.
qint64 leastStreamBytes(const TypeEncoding &t)
{
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    if (t.code == '!')
        return 0;
    if (t.code == '[') {
        const qint64 element = leastStreamBytes(t.fields.front());
        if (t.count == 0 || element == 0)
            return 0;
        return element > most / t.count ? most : element * t.count;
    }
    if (t.code == '{') {
        qint64 sum = 0;
        for (const TypeEncoding &f : t.fields) {
            const qint64 field = leastStreamBytes(f);
            sum = field > most - sum ? most : sum + field;
        }
        return sum;
    }
    return 1;
}

template <typename T>
void storeScalar(QByteArray *raw, qint64 offset, T value)
{
    if (raw)
        std::memcpy(raw->data() + offset, &value, sizeof value);
}

}   // namespace

Unarchiver::Unarchiver(const QByteArray &data) : Unarchiver(data, ArchiveCoderRegistry::shared().table()) {}

Unarchiver::Unarchiver(const QByteArray &data, std::shared_ptr<const ArchiveCoderTable> coders)
    : m_data(data), m_in(m_data), m_coders(std::move(coders))
{
}

Unarchiver::~Unarchiver() = default;

bool Unarchiver::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message.isEmpty() ? QStringLiteral("unreadable archive") : message;
    return false;
}

void Unarchiver::addNote(const QString &note)
{
    if (!m_notes.contains(note))
        m_notes.append(note);
}

bool Unarchiver::decodeHeader()
{
    QString headerError;
    return m_in.readHeader(&headerError) || fail(headerError);
}

bool Unarchiver::decodeRootObject(std::any &object)
{
    if (!decodeHeader() || !decodeObject(object))
        return false;
    // Anything after the root (a second root, padding) is not read, as the platform does.
    return true;
}

bool Unarchiver::readHead(int &head)
{
    auto h = m_in.readHead();
    if (!h)
        return fail(QStringLiteral("archive ends unexpectedly at byte %1").arg(m_in.position()));
    head = *h;
    return true;
}

bool Unarchiver::readReferenceNumber(int head, qint64 &number)
{
    auto value = m_in.readInteger(head, false);
    if (!value)
        return fail(QStringLiteral("bad tag at byte %1").arg(m_in.position()));
    if (*value < firstReferenceNumber || *value > std::numeric_limits<qint32>::max())
        return fail(QStringLiteral("bad reference number at byte %1").arg(m_in.position()));
    number = *value - firstReferenceNumber;
    return true;
}

bool Unarchiver::readUnsharedString(int head, QByteArray &text, bool &isNil)
{
    isNil = head == tagNil;
    if (isNil) {
        text.clear();
        return true;
    }
    auto length = m_in.readInteger(head, true);
    if (!length)
        return fail(QStringLiteral("bad string length at byte %1").arg(m_in.position()));
    auto bytes = m_in.readBytes(*length);
    if (!bytes)
        return fail(QStringLiteral("string of %1 bytes runs past the end of the archive").arg(*length));
    text = *bytes;
    return true;
}

bool Unarchiver::readSharedString(int head, int &index)
{
    if (head == tagNil) {
        index = -1;
        return true;
    }
    if (head == tagNew) {
        int stringHead;
        QByteArray text;
        bool isNil;
        if (!readHead(stringHead) || !readUnsharedString(stringHead, text, isNil))
            return false;
        if (isNil)
            return fail(QStringLiteral("nil shared string"));
        m_strings.push_back({text, {}});
        index = int(m_strings.size()) - 1;
        return true;
    }
    qint64 number;
    if (!readReferenceNumber(head, number))
        return false;
    if (number < 0 || number >= qint64(m_strings.size()))
        return fail(QStringLiteral("string reference %1 out of range").arg(number));
    index = int(number);
    return true;
}

bool Unarchiver::readCStringValue(int head, QByteArray &text)
{
    if (head == tagNil) {
        text.clear();
        return true;
    }
    if (head == tagNew) {
        int stringHead, index;
        if (!readHead(stringHead) || !readSharedString(stringHead, index))
            return false;
        if (index < 0)
            return fail(QStringLiteral("nil C string"));
        text = m_strings[size_t(index)].text;
        Entry entry;
        entry.kind = Entry::CString;
        entry.cString = text;
        m_table.push_back(std::move(entry));
        return true;
    }
    qint64 number;
    if (!readReferenceNumber(head, number))
        return false;
    if (number < 0 || number >= qint64(m_table.size()) || m_table[size_t(number)].kind != Entry::CString)
        return fail(QStringLiteral("C string reference %1 out of range").arg(number));
    text = m_table[size_t(number)].cString;
    return true;
}

bool Unarchiver::readClass(int head, const ArchivedClass *&archivedClass)
{
    // A chain of new classes, most derived first, ends at nil or at a class read before.
    const qint64 firstNewEntry = qint64(m_table.size());
    std::vector<ArchivedClass *> chain;
    while (head == tagNew) {
        if (chain.size() >= size_t(maxClassChain))
            return fail(QStringLiteral("class chain too long"));
        int nameHead, index, versionHead;
        if (!readHead(nameHead) || !readSharedString(nameHead, index))
            return false;
        if (index < 0)
            return fail(QStringLiteral("class without a name"));
        if (!readHead(versionHead))
            return false;
        auto version = m_in.readInteger(versionHead, false);
        if (!version)
            return fail(QStringLiteral("bad class version at byte %1").arg(m_in.position()));
        auto known = std::make_unique<KnownClass>();
        known->name = m_strings[size_t(index)].text;
        known->version = int(*version);
        chain.push_back(known.get());
        m_classes.push_back(std::move(known));
        Entry entry;
        entry.kind = Entry::Class;
        entry.archivedClass = chain.back();
        m_table.push_back(std::move(entry));
        if (!readHead(head))
            return false;
    }
    const ArchivedClass *next = nullptr;
    if (head != tagNil) {
        qint64 number;
        if (!readReferenceNumber(head, number))
            return false;
        if (number < 0 || number >= firstNewEntry || m_table[size_t(number)].kind != Entry::Class)
            return fail(QStringLiteral("class reference %1 out of range").arg(number));
        next = m_table[size_t(number)].archivedClass;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->superclass = next;
        next = *it;
    }
    archivedClass = next;
    return true;
}

const TypeEncoding *Unarchiver::peekType()
{
    if (failed())
        return nullptr;
    if (m_group && m_groupPos < m_group->size())
        return &(*m_group)[m_groupPos];
    auto head = m_in.peekHead();
    if (!head) {
        fail(QStringLiteral("archive ends inside an object"));
        return nullptr;
    }
    if (*head == tagEndOfObject)
        return nullptr;
    int h, index;
    if (!readHead(h) || !readSharedString(h, index))
        return nullptr;
    if (index < 0) {
        fail(QStringLiteral("nil type encoding"));
        return nullptr;
    }
    SharedString &s = m_strings[size_t(index)];
    if (!s.types) {
        s.types = sharedTypeEncodings(s.text);
        if (!s.types) {
            fail(QStringLiteral("unsupported type encoding \"%1\"").arg(QString::fromLatin1(s.text)));
            return nullptr;
        }
    }
    m_group = s.types.get();
    m_groupPos = 0;
    return &s.types->front();
}

const TypeEncoding *Unarchiver::nextValue(bool (*accepts)(const TypeEncoding &), const char *expected)
{
    const TypeEncoding *type = peekType();
    if (!type) {
        if (!failed())
            fail(QStringLiteral("%1 expected, the object ends").arg(QLatin1String(expected)));
        return nullptr;
    }
    if (!accepts(*type)) {
        fail(QStringLiteral("%1 expected, found type \"%2\"").arg(QLatin1String(expected), QString::fromLatin1(type->text)));
        return nullptr;
    }
    ++m_groupPos;
    return type;
}

bool Unarchiver::readIntegerValue(const TypeEncoding &type, qint64 &value)
{
    if (type.code == 'c' || type.code == 'C' || type.code == 'B') {
        // Chars and bools are always one literal byte.
        auto byte = m_in.readByte();
        if (!byte)
            return fail(QStringLiteral("archive ends inside a value"));
        value = type.code == 'c' ? qint64(qint8(*byte)) : qint64(*byte);
        return true;
    }
    int head;
    if (!readHead(head))
        return false;
    // Unsigned types are stored in the same signed forms: the platform sign-extends what
    // it reads and reinterprets it at the type's width (a 'Q' stored as the byte FD is
    // 2^64 - 3). A 'Q' above 2^63 - 1 comes back as the same 64 bits, negative here.
    auto integer = m_in.readInteger(head, false);
    if (!integer)
        return fail(QStringLiteral("bad integer at byte %1").arg(m_in.position()));
    switch (type.code) {
    case 'S': value = quint16(*integer); break;
    case 'I': case 'L': value = quint32(*integer); break;
    default: value = *integer; break;
    }
    return true;
}

bool Unarchiver::readValue(const TypeEncoding &type, QByteArray *raw, qint64 offset, int depth)
{
    if (failed())
        return false;
    if (type.isInteger()) {
        qint64 v;
        if (!readIntegerValue(type, v))
            return false;
        switch (type.code) {
        case 'c': case 'C': case 'B': storeScalar(raw, offset, qint8(v)); break;
        case 's': case 'S': storeScalar(raw, offset, qint16(v)); break;
        case 'q': case 'Q': storeScalar(raw, offset, qint64(v)); break;
        default: storeScalar(raw, offset, qint32(v)); break;
        }
        return true;
    }
    int head;
    switch (type.code) {
    case 'f':
    case 'd': {
        if (!readHead(head))
            return false;
        auto real = m_in.readReal(head, type.code == 'd');
        if (!real)
            return fail(QStringLiteral("bad number at byte %1").arg(m_in.position()));
        if (type.code == 'f')
            storeScalar(raw, offset, float(*real));
        else
            storeScalar(raw, offset, *real);
        return true;
    }
    case '!':
        return true;   // an ignored field: its type is written, its value is not
    case '+': {
        QByteArray text;
        bool isNil;
        return readHead(head) && readUnsharedString(head, text, isNil);
    }
    case '*': {
        QByteArray text;
        return readHead(head) && readCStringValue(head, text);
    }
    case '%':
    case ':': {
        int index;
        return readHead(head) && readSharedString(head, index);
    }
    case '#': {
        const ArchivedClass *c;
        return readHead(head) && readClass(head, c);
    }
    case '@': {
        const std::any *ignored;
        qint64 number;
        return readObjectInPlace(ignored, number);
    }
    case '[': {
        const TypeEncoding &element = type.fields.front();
        if (type.count == 0)
            return true;
        // Elements that take no bytes (an empty array, '!') could make a short stream
        // announce endless work; arrays of them are refused.
        const qint64 least = leastStreamBytes(element);
        if (least == 0)
            return fail(QStringLiteral("array of values that take no bytes"));
        if (type.count > m_in.remaining() / least)
            return fail(QStringLiteral("array of %1 elements runs past the end of the archive").arg(type.count));
        if (element.code == 'c' || element.code == 'C') {
            auto bytes = m_in.readBytes(type.count);
            if (!bytes)
                return fail(QStringLiteral("archive ends inside an array"));
            if (raw && !bytes->isEmpty())
                std::memcpy(raw->data() + offset, bytes->constData(), size_t(bytes->size()));
            return true;
        }
        const qint64 step = raw ? valueSizeOf(element, raw->size()).value_or(0) : 0;
        for (qint64 i = 0; i < type.count; ++i) {
            if (!readValue(element, raw, offset + i * step, depth + 1))
                return false;
        }
        return true;
    }
    case '{': {
        if (depth > maxDepth)
            return fail(QStringLiteral("values nested too deeply"));
        qint64 fieldOffset = offset;
        for (const TypeEncoding &field : type.fields) {
            if (raw) {
                const int align = valueAlignmentOf(field);
                fieldOffset = offset + ((fieldOffset - offset) + align - 1) / align * align;
            }
            if (!readValue(field, raw, fieldOffset, depth + 1))
                return false;
            if (raw)
                fieldOffset += valueSizeOf(field, raw->size()).value_or(0);
        }
        return true;
    }
    default:
        return fail(QStringLiteral("unsupported type \"%1\"").arg(QString::fromLatin1(type.text)));
    }
}

bool Unarchiver::skipToEndOfObject()
{
    while (const TypeEncoding *type = peekType()) {
        ++m_groupPos;
        if (!readValue(*type, nullptr, 0, 0))
            return false;
    }
    if (failed())
        return false;
    int head;
    if (!readHead(head))
        return false;
    if (head != tagEndOfObject)
        return fail(QStringLiteral("end of object expected at byte %1").arg(m_in.position() - 1));
    return true;
}

bool Unarchiver::readNewObject(const std::any *&object, qint64 &number)
{
    if (m_depth >= maxDepth)
        return fail(QStringLiteral("objects nested deeper than %1 levels").arg(maxDepth));
    const size_t index = m_table.size();
    m_table.emplace_back();   // numbered before its class, complete only at its end
    int head;
    const ArchivedClass *archivedClass = nullptr;
    if (!readHead(head) || !readClass(head, archivedClass))
        return false;
    if (!archivedClass)
        return fail(QStringLiteral("object without a class"));
    m_table[index].archivedClass = archivedClass;

    const std::vector<TypeEncoding> *outerGroup = m_group;
    const size_t outerPos = m_groupPos;
    m_group = nullptr;
    m_groupPos = 0;
    ++m_depth;

    // An object of a class without a decoder of its own is read by the decoder of its
    // nearest ancestor that has one (a subclass writes its ancestors' values first); what
    // the subclass added is read past.
    std::any result;
    const KnownClass &known = knownClass(*archivedClass);
    if (known.decoder && !(*known.decoder)(*this, *known.decodedAs, result))
        return fail(QStringLiteral("unreadable %1").arg(QString::fromLatin1(archivedClass->name)));
    if (!result.has_value())
        result = UnsupportedObject{archivedClass->name};
    if (!skipToEndOfObject())
        return false;

    --m_depth;
    m_group = outerGroup;
    m_groupPos = outerPos;
    m_table[index].kind = Entry::Object;
    m_table[index].object = std::move(result);
    object = &m_table[index].object;
    number = qint64(index);
    return true;
}

const Unarchiver::KnownClass &Unarchiver::knownClass(const ArchivedClass &archivedClass) const
{
    // Every class of this unarchiver is a KnownClass (readClass makes them).
    auto &known = const_cast<KnownClass &>(static_cast<const KnownClass &>(archivedClass));
    if (!known.decoderFound) {
        for (const ArchivedClass *c = &archivedClass; c && !known.decoder; c = c->superclass) {
            const auto decoder = m_coders->decoders.constFind(c->name);
            if (decoder != m_coders->decoders.constEnd()) {
                known.decoder = &*decoder;
                known.decodedAs = c;
            }
        }
        known.decoderFound = true;
    }
    return known;
}

bool Unarchiver::readObjectInPlace(const std::any *&object, qint64 &number)
{
    static const std::any nil;
    int head;
    if (!readHead(head))
        return false;
    if (head == tagNil) {
        object = &nil;
        number = -1;
        return true;
    }
    if (head == tagNew)
        return readNewObject(object, number);
    if (!readReferenceNumber(head, number))
        return false;
    if (number < 0 || number >= qint64(m_table.size()))
        return fail(QStringLiteral("object reference %1 out of range").arg(number));
    const Entry &entry = m_table[size_t(number)];
    if (entry.kind == Entry::Pending) {
        // An object still being read (its class is known once its header is read).
        if (!entry.archivedClass)
            return fail(QStringLiteral("object %1 refers to itself before its class").arg(number));
        m_backReference = BackReference{number, entry.archivedClass->name};
        object = &m_backReference;
        number = -1;
        return true;
    }
    if (entry.kind != Entry::Object)
        return fail(QStringLiteral("reference %1 is not an object").arg(number));
    object = &entry.object;
    return true;
}

bool Unarchiver::readObjectValue(std::any &object)
{
    const std::any *value;
    qint64 number;
    if (!readObjectInPlace(value, number))
        return false;
    object = *value;
    return true;
}

bool Unarchiver::decodeObject(std::any &object)
{
    return nextValue(isObjectType, "an object") && readObjectValue(object);
}

bool Unarchiver::decodeObjectInPlace(const std::any *&object, qint64 &number)
{
    return nextValue(isObjectType, "an object") && readObjectInPlace(object, number);
}

bool Unarchiver::decodeInt(qint64 &value)
{
    const TypeEncoding *type = nextValue(isIntegerType, "an integer");
    return type && readIntegerValue(*type, value);
}

bool Unarchiver::decodeReal(double &value)
{
    const TypeEncoding *type = nextValue(isRealType, "a number");
    if (!type)
        return false;
    if (type->isInteger()) {
        qint64 integer;
        if (!readIntegerValue(*type, integer))
            return false;
        value = double(integer);
        return true;
    }
    int head;
    if (!readHead(head))
        return false;
    auto real = m_in.readReal(head, type->code == 'd');
    if (!real)
        return fail(QStringLiteral("bad number at byte %1").arg(m_in.position()));
    value = *real;
    return true;
}

bool Unarchiver::decodeFloat(float &value)
{
    double d;
    if (!decodeReal(d))
        return false;
    value = float(d);
    return true;
}

bool Unarchiver::decodeBytes(QByteArray &bytes)
{
    int head;
    bool isNil;
    return nextValue(isByteStringType, "a byte string") && readHead(head) && readUnsharedString(head, bytes, isNil);
}

bool Unarchiver::decodeCString(QByteArray &string)
{
    int head;
    return nextValue(isCStringType, "a C string") && readHead(head) && readCStringValue(head, string);
}

bool Unarchiver::decodeByteArray(QByteArray &bytes)
{
    const TypeEncoding *type = nextValue(isByteArrayType, "a byte array");
    if (!type)
        return false;
    auto read = m_in.readBytes(type->count);
    if (!read)
        return fail(QStringLiteral("data of %1 bytes runs past the end of the archive").arg(type->count));
    bytes = *read;
    return true;
}

bool Unarchiver::decodeFloatArray(std::vector<float> &values)
{
    const TypeEncoding *type = nextValue(isRealArrayType, "an array of numbers");
    if (!type)
        return false;
    if (type->count > m_in.remaining())
        return fail(QStringLiteral("array of %1 numbers runs past the end of the archive").arg(type->count));
    values.clear();
    values.reserve(size_t(type->count));
    const bool isDouble = type->fields.front().code == 'd';
    for (qint64 i = 0; i < type->count; ++i) {
        int head;
        if (!readHead(head))
            return false;
        auto real = m_in.readReal(head, isDouble);
        if (!real)
            return fail(QStringLiteral("bad number at byte %1").arg(m_in.position()));
        values.push_back(float(*real));
    }
    return true;
}

bool Unarchiver::decodeValueOfType(const TypeEncoding &type, QByteArray &bytes)
{
    const TypeEncoding *next = peekType();
    if (!next)
        return failed() ? false : fail(QStringLiteral("value of type \"%1\" expected").arg(QString::fromLatin1(type.text)));
    if (next->text != type.text)
        return fail(QStringLiteral("value of type \"%1\" expected, found \"%2\"")
                        .arg(QString::fromLatin1(type.text), QString::fromLatin1(next->text)));
    // Every scalar takes at least one byte of the stream, and none more than 8 in memory.
    auto size = valueSizeOf(type, 8 * m_in.remaining() + 64);
    if (!size)
        return fail(QStringLiteral("value of type \"%1\" cannot be held").arg(QString::fromLatin1(type.text)));
    ++m_groupPos;
    bytes = QByteArray(*size, '\0');
    return readValue(type, &bytes, 0, 0);
}
