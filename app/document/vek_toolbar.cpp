// The customisable toolbar: its stored configuration and its customisation dialog.
#include "app/document/vek_toolbar.h"

#include "app/document/toolbar_customize_dialog.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

namespace {

const QString DisplayModeKey = QStringLiteral("TB Display Mode");
const QString SizeModeKey = QStringLiteral("TB Size Mode");
const QString ItemIdentifiersKey = QStringLiteral("TB Item Identifiers");

int modeOrDefault(int mode)
{
    return mode >= 1 && mode <= 3 ? mode : 2;
}

} // namespace

VekToolbar::VekToolbar(const QString &identifier, QWidget *parent) : QToolBar(parent), m_identifier(identifier)
{
    setObjectName(identifier);
    setMovable(false);
    setFloatable(false);
}

QString VekToolbar::configurationKey() const
{
    return QStringLiteral("NSToolbar Configuration ") + m_identifier;
}

QStringList VekToolbar::allowedOnly(const QStringList &identifiers) const
{
    QStringList kept;
    for (const QString &identifier : identifiers) {
        const auto it = std::find_if(m_allowed.begin(), m_allowed.end(),
                                     [&](const ToolbarItemDescription &item) { return item.identifier == identifier; });
        if (it != m_allowed.end() && (it->repeatable || !kept.contains(identifier)))
            kept << identifier;
    }
    return kept;
}

ToolbarConfiguration VekToolbar::configuration() const
{
    ToolbarConfiguration configuration;
    configuration.itemIdentifiers = m_defaultItems;
    const PropertyList stored = UserDefaults::standardUserDefaults().dictionaryForKey(configurationKey());
    if (!stored.isDictionary())
        return configuration;
    configuration.displayMode = modeOrDefault(stored.value(DisplayModeKey).intValue());
    configuration.sizeMode = modeOrDefault(stored.value(SizeModeKey).intValue());
    const PropertyList items = stored.value(ItemIdentifiersKey);
    if (items.isArray())
        configuration.itemIdentifiers = allowedOnly(items.stringListValue());
    return configuration;
}

void VekToolbar::saveConfiguration(const ToolbarConfiguration &configuration)
{
    PropertyList items = PropertyList::array();
    for (const QString &identifier : allowedOnly(configuration.itemIdentifiers))
        items.append(PropertyList(identifier));
    PropertyList stored = PropertyList::dictionary();
    stored.insert(DisplayModeKey, PropertyList::fromInt(modeOrDefault(configuration.displayMode)));
    stored.insert(SizeModeKey, PropertyList::fromInt(modeOrDefault(configuration.sizeMode)));
    stored.insert(ItemIdentifiersKey, items);
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(stored, configurationKey());
    defaults.synchronize();
}

void VekToolbar::runCustomizationPalette()
{
    if (m_palette) {
        m_palette->raise();
        m_palette->activateWindow();
        return;
    }
    m_palette = new ToolbarCustomizeDialog(m_allowed, m_defaultItems, configuration(), window());
    m_palette->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_palette, &QDialog::finished, this, [this](int result) {
        if (result == QDialog::Accepted)
            saveConfiguration(m_palette->configuration());
        // The owner rebuilds (and may delete) this toolbar on the notice: post it once the
        // dialog's own handling is over.
        QTimer::singleShot(0, this, [this] {
            NotificationCenter::defaultCenter().postNotificationName(VekToolbarDidClosePanelNotification, this);
        });
    });
    m_palette->show();
}

bool VekToolbar::customizationPaletteIsRunning() const
{
    return m_palette && m_palette->isVisible();
}

ToolbarCustomizeDialog *VekToolbar::customizationPalette() const
{
    return m_palette;
}

void VekToolbar::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu;
    menu.addAction(localizedString(QStringLiteral("Customize Toolbar...")), this, &VekToolbar::runCustomizationPalette);
    menu.exec(event->globalPos());
}
