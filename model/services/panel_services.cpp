// The built-in panel answers and the process-wide panels.
#include "model/services/panel_services.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/user_defaults.h"

namespace {

PanelServices *installedPanels = nullptr;

} // namespace

Color defaultShadowColor()
{
    return Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f, 0.9f);
}

PropertyList PanelServices::dashInfoFor(int) const
{
    return {};
}

PropertyList PanelServices::defaultShadowValues() const
{
    const PropertyList stored = UserDefaults::standardUserDefaults().dictionaryForKey(DefaultsKey::Shadow);
    if (stored.count() > 0)
        return stored;
    PropertyList values = PropertyList::dictionary();
    values.insert(QStringLiteral("angle"), PropertyList::fromFloat(180));
    values.insert(QStringLiteral("offset"), PropertyList::fromFloat(5));
    values.insert(QStringLiteral("blur"), PropertyList::fromFloat(5));
    const auto color = archivedDataWithRootObject(defaultShadowColor());
    if (color)
        values.insert(QStringLiteral("color"), PropertyList::fromData(*color.value));
    return values;
}

void PanelServices::objectWillBeDeleted(const VekObject &) {}

PanelServices &panelServices()
{
    static PanelServices builtIn;
    return installedPanels ? *installedPanels : builtIn;
}

void setPanelServices(PanelServices *panels)
{
    installedPanels = panels;
}
