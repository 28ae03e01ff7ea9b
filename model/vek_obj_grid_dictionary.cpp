// The table's dictionary form and copies.
//
// A file may hold anything, so reading repairs what it finds rather than trusting it: order
// lists keep only well-formed, unique identifiers that have a usable record (at most
// MaxGridLines of each), records keep only their known keys with values of the right kind
// (numbers finite and in range), records that no order names are dropped, and cells are
// kept only for keys that name a column and a row of the table. The text form turns numbers
// into strings; they come back as numbers, so a table reads back equal from either form.
#include "model/dictionary_values.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/archiving.h"

#include <QRegularExpression>
#include <QSet>

namespace {

const QString GridColorKey = QStringLiteral("gridColor");
const QString DrawLineHKey = QStringLiteral("drawLineH");
const QString DrawLineVKey = QStringLiteral("drawLineV");
const QString CellsKey = QStringLiteral("cells");
const QString RowsKey = QStringLiteral("rows");
const QString RowOrderKey = QStringLiteral("rowOrder");
const QString ColumnsKey = QStringLiteral("columns");
const QString ColumnOrderKey = QStringLiteral("columnOrder");

// A column or row record with its values as numbers; absent when its edge or size is
// missing or unusable.
PropertyList cleanLineRecord(const PropertyList &record, const QString &originKey, const QString &sizeKey,
                             const QString &firstLineKey, const QString &secondLineKey)
{
    const auto origin = floatIn(record.value(originKey), -MaxCoordinate, MaxCoordinate);
    const auto size = floatIn(record.value(sizeKey), 0, MaxCoordinate);
    if (!origin || !size)
        return {};
    PropertyList clean = PropertyList::dictionary();
    for (const auto &[key, value] : record.entries()) {
        if (key == originKey)
            clean.insert(key, PropertyList::fromFloat(*origin));
        else if (key == sizeKey)
            clean.insert(key, PropertyList::fromFloat(*size));
        else if (key == firstLineKey || key == secondLineKey) {
            if (const auto flag = intOf(value))
                clean.insert(key, PropertyList::fromInt(*flag));
        }
    }
    return clean;
}

// A cell record with its known keys of the right kind; absent when nothing usable is left.
PropertyList cleanCellRecord(const PropertyList &record)
{
    PropertyList clean = PropertyList::dictionary();
    for (const auto &[key, value] : record.entries()) {
        if ((key == CellTextKey || key == CellColorKey) && value.isData())
            clean.insert(key, value);
        else if (key == CellAlignKey) {
            if (const auto align = intIn(value, 0, 4))
                clean.insert(key, PropertyList::fromInt(*align));
        }
    }
    return clean.count() > 0 ? clean : PropertyList();
}

// The identifiers of an order list that are well formed, not repeated and have a usable
// record; `records` keeps the cleaned records of exactly those.
QStringList cleanOrder(const PropertyList &order, PropertyList &records, const QRegularExpression &pattern,
                       const std::function<PropertyList(const PropertyList &)> &clean)
{
    QStringList ids;
    PropertyList kept = PropertyList::dictionary();
    QSet<QString> seen;
    for (const PropertyList &element : order.elements()) {
        if (ids.size() >= VekObjGrid::MaxGridLines)
            break;
        if (!element.isString())
            continue;
        const QString id = element.stringValue();
        if (!pattern.match(id).hasMatch() || seen.contains(id))
            continue;
        const PropertyList record = clean(records.value(id));
        if (record.isAbsent())
            continue;
        seen.insert(id);
        ids.append(id);
        kept.insert(id, record);
    }
    records = kept;
    return ids;
}

} // namespace

void VekObjGrid::writePropertyListKeys(PropertyList &dict) const
{
    VekObject::writePropertyListKeys(dict);
    if (const auto data = archivedDataWithRootObject(_gridColor))
        dict.insert(GridColorKey, PropertyList::fromData(*data.value));
    dict.insert(DrawLineHKey, PropertyList::fromInt(_drawLineH));
    dict.insert(DrawLineVKey, PropertyList::fromInt(_drawLineV));
    dict.insert(CellsKey, _cells);
    dict.insert(RowsKey, _rows);
    dict.insert(RowOrderKey, PropertyList::fromStringList(_rowOrder));
    dict.insert(ColumnsKey, _columns);
    dict.insert(ColumnOrderKey, PropertyList::fromStringList(_columnOrder));
}

void VekObjGrid::readPropertyListKeys(const PropertyList &dict)
{
    VekObject::readPropertyListKeys(dict);
    if (dict.value(GridColorKey).isData())
        if (auto color = unarchiveColorWithData(dict.value(GridColorKey).dataValue()))
            _gridColor = *color.value;
    if (const auto flag = intOf(dict.value(DrawLineHKey)))
        _drawLineH = *flag;
    if (const auto flag = intOf(dict.value(DrawLineVKey)))
        _drawLineV = *flag;

    static const QRegularExpression columnPattern(QStringLiteral("^C\\d{1,9}$"));
    static const QRegularExpression rowPattern(QStringLiteral("^R\\d{1,9}$"));
    PropertyList columns = dict.contains(ColumnsKey) ? dict.value(ColumnsKey) : _columns;
    PropertyList rows = dict.contains(RowsKey) ? dict.value(RowsKey) : _rows;
    const PropertyList columnOrder =
        dict.contains(ColumnOrderKey) ? dict.value(ColumnOrderKey) : PropertyList::fromStringList(_columnOrder);
    const PropertyList rowOrder =
        dict.contains(RowOrderKey) ? dict.value(RowOrderKey) : PropertyList::fromStringList(_rowOrder);
    _columnOrder = cleanOrder(columnOrder, columns, columnPattern, [](const PropertyList &r) {
        return cleanLineRecord(r, OriginXKey, WidthKey, LineLKey, LineRKey);
    });
    _rowOrder = cleanOrder(rowOrder, rows, rowPattern, [](const PropertyList &r) {
        return cleanLineRecord(r, OriginYKey, HeightKey, LineTKey, LineBKey);
    });
    _columns = columns;
    _rows = rows;

    const PropertyList cells = dict.contains(CellsKey) ? dict.value(CellsKey) : _cells;
    _cells = PropertyList::dictionary();
    for (const auto &[key, record] : cells.entries()) {
        if (!positionOfCell(key, nullptr, nullptr))
            continue;
        if (const PropertyList clean = cleanCellRecord(record); !clean.isAbsent())
            _cells.insert(key, clean);
    }
    contentsDidChange();
}

void VekObjGrid::copyAttributesTo(VekObject &copy) const
{
    VekObject::copyAttributesTo(copy);
    auto &table = static_cast<VekObjGrid &>(copy);
    table._gridColor = _gridColor;
    table._drawLineH = _drawLineH;
    table._drawLineV = _drawLineV;
    table.setCells(_cells, false);
    table.setRows(_rows, false);
    table.setRowOrder(_rowOrder, false);
    table.setColumns(_columns, false);
    table.setColumnOrder(_columnOrder, false);
    table.contentsDidChange();
}
