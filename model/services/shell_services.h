// What the drawing objects ask of the application shell: the tool palette's current
// choices, the preference values and the marker colours set from the preferences.
//
// The application installs its implementation with setShellServices(); until then (and in
// the preview plug-in, the thumbnailer and tests that need nothing else) the built-in one
// answers the defaults written beside each function, without any interface.
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"
#include "platform/text/attributed_string.h"
#include "platform/text/font.h"

#include <QCursor>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class VekObject;
class VekObjGrid;

// Posted by the shell (sender none) when the measurement unit or the real-world display
// preference changes.
inline const QString VekRulerUnitDidChangeNotification = QStringLiteral("VekRulerUnitDidChange");
inline const QString VekGridScaleDidChangeNotification = QStringLiteral("VekGridScaleDidChange");
inline const QString VekScaleBaseDidChangeNotification = QStringLiteral("VekScaleBaseDidChange");

// The size of every gradient view (the gradient model's strip).
inline constexpr Size gGradViewSize{186, 36};

// The platform's own knob colour, which frames objects being created (distinct from the
// preference colour ShellServices::knobColor of the resize knobs).
Color systemKnobColor();

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // The tool palette. Tools: 0 arrow, 1 shape, 2 free-hand, 3 point pen, 4 contour
    // capture, 5 marker, 6 text, 7 page-number/date field, 8 table.
    virtual int selectedTool() const;                       // 0
    virtual void selectArrowTool() {}
    virtual void selectObjectTool() {}
    virtual void selectPointPenTool() {}
    // The palette's option panel on screen: 1 the shape panel, 7 the field panel, 8 the
    // table panel, -1 none.
    virtual int visibleToolOption() const { return -1; }
    // The repeat choice of the field options for a new page-number or date field.
    virtual int selectedRepeatType() const { return 0; }
    // Copies of these replace a shape drawn with the shape tool (the chosen object set);
    // none keeps the drawn shape.
    virtual std::vector<std::shared_ptr<VekObject>> selectedObjectSetObjects() const { return {}; }
    virtual int currentMarkerColorNr() const;               // 1 (1 to 5)
    virtual float currentMarkerThickness() const;           // 10
    virtual void setMarkerColorNr(int) {}
    virtual void setMarkerThickness(float) {}
    // The field options for new page-number and date fields.
    virtual QString selectedFormat() const;                 // "%d"
    virtual int selectedFormatType() const;                 // 0 page number, otherwise date
    virtual int selectedFormatAlign() const;                // 0 (0 to 5)
    virtual AttributedString selectedFormatExample() const; // "1"
    // The table options for new tables; the counts are at least 1.
    virtual int gridCurrentColumnNr() const;                // 2
    virtual int gridCurrentRowNr() const;                   // 2
    virtual Color gridCurrentColor() const;                 // device RGB black
    virtual int gridCurrentDrawLineH() const;               // 1
    virtual int gridCurrentDrawLineV() const;               // 1
    // The palette's option panel for the object's kind (fields, tables), filled for editing
    // that object when `edit` is set; shown while the object is edited.
    virtual void showToolOptionPanelFor(const VekObject &object, bool edit);
    virtual void orderOutToolOptionPanelFor(const VekObject &object);
    // Refreshes the table options from the table and the cell at the position.
    virtual void setGridOutlets(VekObjGrid &table, int column, int row);
    // The cursors that select a whole column or row of the edited table.
    virtual QCursor selectColumnCursor() const;
    virtual QCursor selectRowCursor() const;
    // The cursor of the selected tool over the canvas (pen, point pen, marker, field).
    virtual QCursor cursorForSelectedTool() const;          // crosshair
    // The system's alert sound, for a command that cannot be carried out.
    virtual void beep() {}

    // The preferences.
    virtual Color markerColor(int number) const;            // 1 to 5, half-transparent
    virtual int selectedUnit() const;                       // 0
    // Whether canvases and rulers show sizes on paper (screen and document resolution
    // taken into account).
    virtual bool displayOnRealWorldBase() const;            // false
    // The grid-scale preference: the grid spacing of the unit is multiplied by it.
    virtual float gridScale() const;                        // 1.0
    virtual std::optional<Font> vekDefaultUserFont() const; // none
    virtual bool continueFindInOthers() const;              // false

    // The marker colours of the preferences ("cwKnob", "cwCtrlLine", ...).
    virtual Color gridColor() const;       // minor grid lines and page frames
    virtual Color gridmColor() const;      // major grid lines
    virtual Color knobColor() const;       // resize knobs
    virtual Color ctrlLineColor() const;   // path control lines
    virtual Color ctrlPtsColor() const;    // curve control handles
    virtual Color ctrlPtCColor() const;    // the selected point
    virtual Color ctrlPtBColor() const;    // a path's first point
    virtual Color ctrlPtEColor() const;    // a path's last point
    virtual Color ctrlPtOColor() const;    // the other anchor points
    virtual Color frBGColor() const;       // floating rulers' background ("cwFRbg")
    virtual Color frMKColor() const;       // floating rulers' marks and labels ("cwFRmk")
};

// The installed shell, or the built-in one.
ShellServices &shellServices();
// Installs the shell (not owned; null puts the built-in one back).
void setShellServices(ShellServices *shell);
