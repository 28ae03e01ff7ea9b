#include "panels/filters/filter_stack_model.h"

#include "panels/filters/filter_stack.h"
#include "platform/foundation/localized_strings.h"

void FilterStackModel::setStack(const PropertyList &stack)
{
    beginResetModel();
    m_stack = stack.isArray() ? stack : PropertyList::array();
    endResetModel();
}

quintptr FilterStackModel::idOf(Item item)
{
    return (quintptr(item.level) << 48) | (quintptr(item.entry) << 24) | quintptr(item.key);
}

FilterStackModel::Item FilterStackModel::itemOf(const QModelIndex &index)
{
    const quintptr id = index.internalId();
    return {int(id >> 48), int((id >> 24) & 0xffffff), int(id & 0xffffff)};
}

PropertyList FilterStackModel::parametersAt(int entry) const
{
    return parametersOfEntry(m_stack.at(entry));
}

QModelIndex FilterStackModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column > 1 || row >= rowCount(parent))
        return QModelIndex();
    if (!parent.isValid())
        return createIndex(row, column, idOf({0, 0, 0}));
    const Item up = itemOf(parent);
    switch (up.level) {
    case 0:
        return createIndex(row, column, idOf({1, row, 0}));
    case 1:
        return createIndex(row, column, idOf({2, up.entry, 0}));
    default:
        return createIndex(row, column, idOf({3, up.entry, row}));
    }
}

QModelIndex FilterStackModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return QModelIndex();
    const Item item = itemOf(child);
    switch (item.level) {
    case 0:
        return QModelIndex();
    case 1:
        return createIndex(0, 0, idOf({0, 0, 0}));
    case 2:
        return createIndex(item.entry, 0, idOf({1, item.entry, 0}));
    default:
        return createIndex(0, 0, idOf({2, item.entry, 0}));
    }
}

int FilterStackModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 1;
    if (parent.column() != 0)
        return 0;
    const Item item = itemOf(parent);
    switch (item.level) {
    case 0:
        return int(m_stack.count());
    case 1:
        return parametersAt(item.entry).isDictionary() ? 1 : 0;
    case 2:
        return int(parametersAt(item.entry).count());
    default:
        return 0;
    }
}

int FilterStackModel::columnCount(const QModelIndex &) const { return 2; }

QVariant FilterStackModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    const Item item = itemOf(index);
    const bool names = index.column() == 0;
    switch (item.level) {
    case 0:
        return names ? filterCountTitle(m_stack.count()) : QString();
    case 1:
        return names ? filterNameOfEntry(m_stack.at(item.entry)) : QString();
    case 2:
        return names ? parameterCountTitle(parametersAt(item.entry).count()) : QString();
    default: {
        const PropertyList::Entry &parameter = parametersAt(item.entry).entries().at(size_t(item.key));
        return names ? parameter.first : parameter.second.stringValue();
    }
    }
}

QVariant FilterStackModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return localizedString(section == 0 ? QStringLiteral("Filter") : QStringLiteral("Value"));
}
