// What the drawing objects ask of the panels: the inspector's dash information, the shadow
// panel's defaults and the filter panel's interest in image objects.
//
// The application installs its implementation with setPanelServices(); until then the
// built-in one answers without any panel. The blur functions the stroke patterns use are in
// toolkit/blur.h.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/property_list.h"

class VekObject;

class PanelServices {
public:
    virtual ~PanelServices() = default;

    // The inspector's dash information for a dash pattern index ("pattern": array of
    // numbers, "phase": number), or absent. Built-in: absent.
    virtual PropertyList dashInfoFor(int index) const;
    // The shadow panel's defaults: "angle", "offset", "blur" (numbers) and "color" (archived
    // colour data). Built-in: the user defaults' "shadow" dictionary when present, else
    // angle 180, offset 5, blur 5 and defaultShadowColor().
    virtual PropertyList defaultShadowValues() const;
    // The filter panel forgets the object when it is its current image object.
    virtual void objectWillBeDeleted(const VekObject &object);
    // Whether selecting a grouped object selects only its own group (the document info
    // panel's groups tab shows its partial-selection option switched on). Built-in: false.
    virtual bool grpPartialSelectionIsAllowed() const { return false; }
};

// The default shadow colour: the control shadow grey in RGB with alpha 0.9.
Color defaultShadowColor();

// The installed panels, or the built-in ones.
PanelServices &panelServices();
// Installs the panels (not owned; null puts the built-in ones back).
void setPanelServices(PanelServices *panels);
