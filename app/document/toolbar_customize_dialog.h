// ToolbarCustomizeDialog: chooses and orders a toolbar's items and its display and size
// mode. The items on offer are listed on the left, the toolbar's items on the right;
// spaces and separators may be added any number of times, every other item once.
#pragma once

#include "app/document/vek_toolbar.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;

class ToolbarCustomizeDialog : public QDialog {
    Q_OBJECT
public:
    ToolbarCustomizeDialog(const std::vector<ToolbarItemDescription> &allowed, const QStringList &defaultItems,
                           const ToolbarConfiguration &current, QWidget *parent = nullptr);

    // What the dialog shows now.
    ToolbarConfiguration configuration() const;

    // The steps of the dialog's buttons, for the buttons and for tests.
    // Adds the allowed item at the end (a non-repeatable item already shown stays where it is).
    void addItem(const QString &identifier);
    void removeItemAt(int row);
    // Moves the shown item at row by delta places.
    void moveItem(int row, int delta);
    void useDefaultSet();

private:
    void showItems(const QStringList &identifiers);
    QStringList shownIdentifiers() const;

    std::vector<ToolbarItemDescription> m_allowed;
    QStringList m_defaultItems;
    QListWidget *m_available = nullptr;
    QListWidget *m_shown = nullptr;
    QComboBox *m_displayMode = nullptr;
    QCheckBox *m_smallSize = nullptr;
};
