// VekToolbar: a window's toolbar whose items the user chooses and orders in a
// customisation dialog. The configuration (items, display and size mode) is kept in the
// user defaults per toolbar identifier; the owner builds the items from it.
//
// Closing the dialog posts VekToolbarDidClosePanelNotification (sender: the toolbar) on the
// default centre, so that the owner takes up the new configuration. Each toolbar watches
// its own dialog, so several can be customised at once and every one reports its close.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QToolBar>

#include <vector>

class ToolbarCustomizeDialog;

inline const QString VekToolbarDidClosePanelNotification = QStringLiteral("VekToolbarDidClosePanelNotification");

// One item the toolbar may show: its identifier, the label the dialog lists, and whether
// it may appear more than once (spaces and separators).
struct ToolbarItemDescription {
    QString identifier;
    QString label;
    bool repeatable = false;
};

struct ToolbarConfiguration {
    QStringList itemIdentifiers;
    // 1 icon and label, 2 icon only, 3 label only (0 counts as 2).
    int displayMode = 2;
    // 1 regular, 2 small (0 counts as 2).
    int sizeMode = 2;
};

class VekToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit VekToolbar(const QString &identifier, QWidget *parent = nullptr);

    QString identifier() const { return m_identifier; }

    // What the dialog offers, in order, and the set that "Default Set" restores.
    void setAllowedItems(const std::vector<ToolbarItemDescription> &items) { m_allowed = items; }
    const std::vector<ToolbarItemDescription> &allowedItems() const { return m_allowed; }
    void setDefaultItemIdentifiers(const QStringList &identifiers) { m_defaultItems = identifiers; }

    // The defaults key of the configuration: "NSToolbar Configuration <identifier>".
    QString configurationKey() const;
    // The stored configuration: the default items and modes for what is not stored, and
    // only allowed items (non-repeatable ones once).
    ToolbarConfiguration configuration() const;
    void saveConfiguration(const ToolbarConfiguration &configuration);

    // Opens the customisation dialog (not modal) on the stored configuration; an open one
    // comes to the front. Accepting it stores the new configuration.
    void runCustomizationPalette();
    bool customizationPaletteIsRunning() const;
    ToolbarCustomizeDialog *customizationPalette() const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QStringList allowedOnly(const QStringList &identifiers) const;

    QString m_identifier;
    std::vector<ToolbarItemDescription> m_allowed;
    QStringList m_defaultItems;
    QPointer<ToolbarCustomizeDialog> m_palette;
};
