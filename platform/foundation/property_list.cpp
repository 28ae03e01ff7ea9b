// The property-list value: storage, accessors with the platform's number rules, containers.
#include "platform/foundation/property_list.h"

#include "platform/foundation/c_locale.h"

#include <QHash>
#include <QTimeZone>

#include <cmath>
#include <limits>

struct PropertyList::ArrayData {
    std::vector<PropertyList> elements;
};

// Dictionaries with room for few entries are searched linearly; larger ones (an object's
// dictionary has 20 to 40 keys) get an index: open addressing over a power-of-two table at
// most three quarters full, each slot holding an entry's position and its key's hash.
// Reading a document looks keys up hundreds of thousands of times, and the table costs no
// allocation per key.
struct PropertyList::DictData {
    static constexpr size_t IndexFrom = 16;
    static constexpr size_t FirstIndexSize = 64;

    struct Slot {
        quint32 position = 0;   // the entry's position + 1; 0 for an empty slot
        quint32 hash = 0;
    };

    std::vector<Entry> entries;
    std::vector<Slot> buckets;   // empty until wantsIndex()

    static quint32 hashOf(const QString &key) { return quint32(qHash(key, qGlobalQHashSeed())); }

    // The key's position, or -1; `hash` is the key's hash when the index was searched.
    std::ptrdiff_t find(const QString &key, quint32 *keyHash = nullptr) const
    {
        if (buckets.empty()) {
            for (size_t i = 0; i < entries.size(); ++i) {
                if (entries[i].first == key)
                    return std::ptrdiff_t(i);
            }
            return -1;
        }
        const quint32 hash = hashOf(key);
        if (keyHash)
            *keyHash = hash;
        const size_t mask = buckets.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = buckets[i];
            if (slot.position == 0)
                return -1;
            if (slot.hash == hash && entries[slot.position - 1].first == key)
                return std::ptrdiff_t(slot.position - 1);
        }
    }

    void place(Slot slot)
    {
        const size_t mask = buckets.size() - 1;
        size_t i = slot.hash & mask;
        while (buckets[i].position != 0)
            i = (i + 1) & mask;
        buckets[i] = slot;
    }

    // The index is kept at most three quarters full: probes stay short.
    static bool hasRoomFor(size_t count, size_t bucketCount) { return 4 * count <= 3 * bucketCount; }

    // A dictionary with room for many entries is indexed from its first: one that is
    // reserved for its entries then never searches them one by one.
    bool wantsIndex() const { return entries.capacity() >= IndexFrom; }

    // Indexes the entry just appended, whose key has the hash `hash` when the index existed
    // before it.
    void indexLast(quint32 hash)
    {
        if (buckets.empty()) {
            rebuildIndex();
            return;
        }
        if (!hasRoomFor(entries.size(), buckets.size())) {
            // Twice the size, from the hashes the slots keep.
            std::vector<Slot> old(2 * buckets.size());
            old.swap(buckets);
            for (const Slot &slot : old)
                if (slot.position != 0)
                    place(slot);
        }
        place({quint32(entries.size()), hash});
    }

    void rebuildIndex()
    {
        buckets.clear();
        if (!wantsIndex())
            return;
        // Sized for the entries there is room for, so that a dictionary reserved for its
        // entries is indexed once.
        size_t size = FirstIndexSize;
        while (!hasRoomFor(entries.capacity(), size))
            size *= 2;
        buckets.assign(size, Slot());
        for (size_t i = 0; i < entries.size(); ++i)
            place({quint32(i + 1), hashOf(entries[i].first)});
    }
};

namespace {

enum : size_t { AbsentIx, StringIx, IntegerIx, RealIx, BoolIx, DataIx, DateIx, PointIx, SizeIx, RectIx, ArrayIx, DictIx };

const std::vector<PropertyList> &noElements()
{
    static const std::vector<PropertyList> empty;
    return empty;
}

const std::vector<PropertyList::Entry> &noEntries()
{
    static const std::vector<PropertyList::Entry> empty;
    return empty;
}

// Real to integer as the platform converts: truncation towards zero, saturating.
qint64 truncated(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (v <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return qint64(v);
}

QString dateText(const QDateTime &date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

QDateTime dateFromText(const QString &text)
{
    const QString t = text.trimmed();
    QDateTime d = QDateTime::fromString(t, Qt::ISODate);
    if (!d.isValid()) {
        // "2001-01-01 00:00:00 +0000": the zone as a numeric offset.
        const qsizetype blank = t.lastIndexOf(u' ');
        if (blank > 0) {
            const QString zone = t.mid(blank + 1);
            const QDateTime local =
                QDateTime::fromString(t.left(blank), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (local.isValid() && zone.size() == 5 && (zone[0] == u'+' || zone[0] == u'-')) {
                const int hours = zone.mid(1, 2).toInt();
                const int minutes = zone.mid(3, 2).toInt();
                const int offset = (zone[0] == u'-' ? -1 : 1) * (hours * 3600 + minutes * 60);
                d = QDateTime(local.date(), local.time(), QTimeZone(offset));
            }
        }
    }
    return d.isValid() ? d.toUTC() : QDateTime();
}

} // namespace

PropertyList::PropertyList(const QString &string) : m_value(string) {}

PropertyList::PropertyList(const char *utf8) : m_value(QString::fromUtf8(utf8)) {}

PropertyList::PropertyList(QLatin1String latin1) : m_value(QString(latin1)) {}

PropertyList PropertyList::fromInt(qint64 value)
{
    PropertyList p;
    p.m_value = Integer{value, false};
    return p;
}

PropertyList PropertyList::fromUnsigned(quint64 value)
{
    PropertyList p;
    p.m_value = Integer{qint64(value), value > quint64(std::numeric_limits<qint64>::max())};
    return p;
}

PropertyList PropertyList::fromFloat(float value)
{
    PropertyList p;
    p.m_value = Real{double(value), true};
    return p;
}

PropertyList PropertyList::fromDouble(double value)
{
    PropertyList p;
    p.m_value = Real{value, false};
    return p;
}

PropertyList PropertyList::fromBool(bool value)
{
    PropertyList p;
    p.m_value = value;
    return p;
}

PropertyList PropertyList::fromData(const QByteArray &data)
{
    PropertyList p;
    p.m_value = data;
    return p;
}

PropertyList PropertyList::fromDate(const QDateTime &date)
{
    PropertyList p;
    if (date.isValid())
        p.m_value = date.toUTC();
    return p;
}

PropertyList PropertyList::fromPoint(Point point)
{
    PropertyList p;
    p.m_value = point;
    return p;
}

PropertyList PropertyList::fromSize(Size size)
{
    PropertyList p;
    p.m_value = size;
    return p;
}

PropertyList PropertyList::fromRect(const Rect &rect)
{
    PropertyList p;
    p.m_value = rect;
    return p;
}

PropertyList PropertyList::fromStringList(const QStringList &strings)
{
    PropertyList p = array();
    auto &elements = p.mutableArray().elements;
    elements.reserve(size_t(strings.size()));
    for (const QString &s : strings)
        elements.emplace_back(s);
    return p;
}

PropertyList PropertyList::array()
{
    PropertyList p;
    p.m_value = std::make_shared<ArrayData>();
    return p;
}

PropertyList PropertyList::dictionary(qsizetype expectedCount)
{
    PropertyList p;
    auto d = std::make_shared<DictData>();
    d->entries.reserve(size_t(std::max<qsizetype>(expectedCount, 0)));
    p.m_value = std::move(d);
    return p;
}

bool PropertyList::isNumber() const
{
    const Type t = type();
    return t == Type::Integer || t == Type::Real || t == Type::Bool;
}

bool PropertyList::isAboveSignedRange() const
{
    const auto *integer = std::get_if<Integer>(&m_value);
    return integer && integer->aboveSigned;
}

bool PropertyList::isSinglePrecision() const
{
    const auto *real = std::get_if<Real>(&m_value);
    return real && real->single;
}

QString PropertyList::stringValue() const
{
    switch (m_value.index()) {
    case StringIx: return std::get<QString>(m_value);
    case IntegerIx: {
        const Integer i = std::get<Integer>(m_value);
        return i.aboveSigned ? QString::number(quint64(i.value)) : QString::number(i.value);
    }
    case RealIx: {
        const Real r = std::get<Real>(m_value);
        return r.single ? formatFloat(float(r.value)) : formatDouble(r.value);
    }
    case BoolIx: return std::get<bool>(m_value) ? QStringLiteral("1") : QStringLiteral("0");
    case DateIx: return dateText(std::get<QDateTime>(m_value));
    case PointIx: return stringFromPoint(std::get<Point>(m_value));
    case SizeIx: return stringFromSize(std::get<Size>(m_value));
    case RectIx: return stringFromRect(std::get<Rect>(m_value));
    default: return QString();
    }
}

qint64 PropertyList::longLongValue() const
{
    switch (m_value.index()) {
    case StringIx: return longLongValueOf(std::get<QString>(m_value));
    case IntegerIx: {
        const Integer i = std::get<Integer>(m_value);
        return i.aboveSigned ? std::numeric_limits<qint64>::max() : i.value;
    }
    case RealIx: return truncated(std::get<Real>(m_value).value);
    case BoolIx: return std::get<bool>(m_value) ? 1 : 0;
    default: return 0;
    }
}

quint64 PropertyList::unsignedLongLongValue() const
{
    if (const auto *integer = std::get_if<Integer>(&m_value))
        return quint64(integer->value);
    return quint64(longLongValue());
}

int PropertyList::intValue() const
{
    const qint64 v = longLongValue();
    return v > std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
           : v < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                 : int(v);
}

double PropertyList::doubleValue() const
{
    switch (m_value.index()) {
    case StringIx: return doubleValueOf(std::get<QString>(m_value));
    case IntegerIx: {
        const Integer i = std::get<Integer>(m_value);
        return i.aboveSigned ? double(quint64(i.value)) : double(i.value);
    }
    case RealIx: return std::get<Real>(m_value).value;
    case BoolIx: return std::get<bool>(m_value) ? 1.0 : 0.0;
    default: return 0.0;
    }
}

float PropertyList::floatValue() const { return float(doubleValue()); }

bool PropertyList::boolValue() const
{
    switch (m_value.index()) {
    case StringIx: return boolValueOf(std::get<QString>(m_value));
    case IntegerIx: return std::get<Integer>(m_value).value != 0;
    case RealIx: return std::get<Real>(m_value).value != 0.0;
    case BoolIx: return std::get<bool>(m_value);
    default: return false;
    }
}

QByteArray PropertyList::dataValue() const
{
    const auto *data = std::get_if<QByteArray>(&m_value);
    return data ? *data : QByteArray();
}

QDateTime PropertyList::dateValue() const
{
    if (const auto *date = std::get_if<QDateTime>(&m_value))
        return *date;
    if (const auto *text = std::get_if<QString>(&m_value))
        return dateFromText(*text);
    return QDateTime();
}

Point PropertyList::pointValue() const
{
    if (const auto *p = std::get_if<Point>(&m_value))
        return *p;
    if (const auto *text = std::get_if<QString>(&m_value))
        return pointFromString(*text);
    return Point();
}

Size PropertyList::sizeValue() const
{
    if (const auto *s = std::get_if<Size>(&m_value))
        return *s;
    if (const auto *text = std::get_if<QString>(&m_value))
        return sizeFromString(*text);
    return Size();
}

Rect PropertyList::rectValue() const
{
    if (const auto *r = std::get_if<Rect>(&m_value))
        return *r;
    if (const auto *text = std::get_if<QString>(&m_value))
        return rectFromString(*text);
    return Rect();
}

QStringList PropertyList::stringListValue() const
{
    QStringList out;
    for (const PropertyList &e : elements())
        out.append(e.stringValue());
    return out;
}

qsizetype PropertyList::count() const
{
    if (const auto *a = std::get_if<std::shared_ptr<ArrayData>>(&m_value))
        return qsizetype((*a)->elements.size());
    if (const auto *d = std::get_if<std::shared_ptr<DictData>>(&m_value))
        return qsizetype((*d)->entries.size());
    return 0;
}

PropertyList PropertyList::at(qsizetype index) const
{
    const auto &e = elements();
    return index >= 0 && size_t(index) < e.size() ? e[size_t(index)] : PropertyList();
}

const std::vector<PropertyList> &PropertyList::elements() const
{
    const auto *a = std::get_if<std::shared_ptr<ArrayData>>(&m_value);
    return a ? (*a)->elements : noElements();
}

PropertyList::ArrayData &PropertyList::mutableArray()
{
    auto *a = std::get_if<std::shared_ptr<ArrayData>>(&m_value);
    if (!a) {
        m_value = std::make_shared<ArrayData>();
        a = std::get_if<std::shared_ptr<ArrayData>>(&m_value);
    } else if (a->use_count() > 1) {
        *a = std::make_shared<ArrayData>(**a);
    }
    return **a;
}

void PropertyList::append(const PropertyList &value)
{
    if (value.isAbsent() || !(isAbsent() || isArray()))
        return;
    mutableArray().elements.push_back(value);
}

PropertyList PropertyList::value(const QString &key) const
{
    const auto *d = std::get_if<std::shared_ptr<DictData>>(&m_value);
    if (!d)
        return PropertyList();
    const std::ptrdiff_t i = (*d)->find(key);
    return i < 0 ? PropertyList() : (*d)->entries[size_t(i)].second;
}

bool PropertyList::contains(const QString &key) const
{
    const auto *d = std::get_if<std::shared_ptr<DictData>>(&m_value);
    return d && (*d)->find(key) >= 0;
}

const std::vector<PropertyList::Entry> &PropertyList::entries() const
{
    const auto *d = std::get_if<std::shared_ptr<DictData>>(&m_value);
    return d ? (*d)->entries : noEntries();
}

QStringList PropertyList::keys() const
{
    QStringList out;
    for (const Entry &e : entries())
        out.append(e.first);
    return out;
}

PropertyList::DictData &PropertyList::mutableDict()
{
    auto *d = std::get_if<std::shared_ptr<DictData>>(&m_value);
    if (!d) {
        m_value = std::make_shared<DictData>();
        d = std::get_if<std::shared_ptr<DictData>>(&m_value);
    } else if (d->use_count() > 1) {
        *d = std::make_shared<DictData>(**d);
    }
    return **d;
}

void PropertyList::insert(const QString &key, const PropertyList &value)
{
    if (value.isAbsent()) {
        remove(key);
        return;
    }
    if (!(isAbsent() || isDictionary()))
        return;
    DictData &d = mutableDict();
    quint32 hash = 0;
    const std::ptrdiff_t i = d.find(key, &hash);
    if (i >= 0) {
        d.entries[size_t(i)].second = value;
        return;
    }
    d.entries.emplace_back(key, value);
    d.indexLast(hash);
}

void PropertyList::remove(const QString &key)
{
    if (!contains(key))
        return;
    DictData &d = mutableDict();
    const size_t at = size_t(d.find(key));
    d.entries.erase(d.entries.begin() + std::ptrdiff_t(at));
    d.rebuildIndex();   // the entries behind the removed one moved
}

bool operator==(const PropertyList &a, const PropertyList &b)
{
    if (a.m_value.index() != b.m_value.index())
        return false;
    switch (a.m_value.index()) {
    case AbsentIx: return true;
    case StringIx: return std::get<QString>(a.m_value) == std::get<QString>(b.m_value);
    case IntegerIx: {
        const PropertyList::Integer x = std::get<PropertyList::Integer>(a.m_value);
        const PropertyList::Integer y = std::get<PropertyList::Integer>(b.m_value);
        return x.value == y.value && x.aboveSigned == y.aboveSigned;
    }
    case RealIx: {
        const double x = std::get<PropertyList::Real>(a.m_value).value;
        const double y = std::get<PropertyList::Real>(b.m_value).value;
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    case BoolIx: return std::get<bool>(a.m_value) == std::get<bool>(b.m_value);
    case DataIx: return std::get<QByteArray>(a.m_value) == std::get<QByteArray>(b.m_value);
    case DateIx: return std::get<QDateTime>(a.m_value) == std::get<QDateTime>(b.m_value);
    case PointIx: return std::get<Point>(a.m_value) == std::get<Point>(b.m_value);
    case SizeIx: return std::get<Size>(a.m_value) == std::get<Size>(b.m_value);
    case RectIx: return std::get<Rect>(a.m_value) == std::get<Rect>(b.m_value);
    case ArrayIx: {
        const auto &x = std::get<std::shared_ptr<PropertyList::ArrayData>>(a.m_value);
        const auto &y = std::get<std::shared_ptr<PropertyList::ArrayData>>(b.m_value);
        return x == y || x->elements == y->elements;
    }
    case DictIx: {
        const auto &x = std::get<std::shared_ptr<PropertyList::DictData>>(a.m_value);
        const auto &y = std::get<std::shared_ptr<PropertyList::DictData>>(b.m_value);
        if (x == y)
            return true;
        if (x->entries.size() != y->entries.size())
            return false;
        for (const auto &entry : x->entries) {
            const std::ptrdiff_t i = y->find(entry.first);
            if (i < 0 || !(y->entries[size_t(i)].second == entry.second))
                return false;
        }
        return true;
    }
    }
    return false;
}

QString PropertyListError::toString() const
{
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(message);
}
