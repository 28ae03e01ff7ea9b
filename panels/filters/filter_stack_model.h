// The outline of a filter stack: the stack ("2 Filters"), its entries (the filter names),
// each entry's parameter dictionary ("3 parameters") and the parameters with their values.
#pragma once

#include "platform/foundation/property_list.h"

#include <QAbstractItemModel>

class FilterStackModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;

    // Shows the stack (an array of entries) afresh.
    void setStack(const PropertyList &stack);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Column 0 the names ("tcFilterName"), column 1 the parameter values.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // An item: its level (0 the stack, 1 an entry, 2 its parameters, 3 one parameter) and
    // the entry and parameter it belongs to.
    struct Item {
        int level;
        int entry;
        int key;
    };
    static quintptr idOf(Item item);
    static Item itemOf(const QModelIndex &index);
    PropertyList parametersAt(int entry) const;

    PropertyList m_stack = PropertyList::array();
};
