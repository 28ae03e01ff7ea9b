// The export panel: a non-native save dialog with the accessory view of the export
// (format, JPEG quality, selection only, PDF/X-3 flattening, reveal afterwards). It only
// gathers the choices; the writers run through saveArea (export_dispatch.h).
#pragma once

#include "app/document/accessory_save_panel.h"
#include "export/export_dispatch.h"

class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;
class VekDocument;
class VekObject;

class ExportPanel : public AccessorySavePanel {
    Q_OBJECT
public:
    // hasSelection offers "selected only" (on); grabbedArea names the file after the area.
    ExportPanel(QWidget *parent, const QString &displayName, bool hasSelection, bool grabbedArea);

    QString format() const;
    bool selectedOnly() const;
    float compressionFactor() const;
    int flattenResolution() const;
    // SVG: text written as glyph outlines rather than as text.
    bool textAsOutlines() const;
    // The chosen path with an extension that fits the format.
    QString chosenPath() const;
    // Stores the format as "lastSaveFormat" and the reveal choice as "showInFinder".
    void rememberChoices() const;

private:
    void formatChanged();

    QComboBox *m_format = nullptr;
    QSlider *m_quality = nullptr;
    QCheckBox *m_selectedOnly = nullptr;
    QCheckBox *m_flatten = nullptr;
    QSpinBox *m_flattenResolution = nullptr;
    QCheckBox *m_textOutlines = nullptr;
};

// The proposed file name of an export: the display name without its extension, with
// "_selectedArea" for a grabbed area or "_selected" with a selection, and the format's
// extension.
QString proposedExportName(const QString &displayName, bool hasSelection, bool grabbedArea, const QString &format);

// The export command: the panel, then the writer of the chosen format with the selection
// (in stacking order) when "selected only" is on; "Sorry, failed to save." when it fails.
// False when cancelled or failed.
bool exportDocument(QWidget *parent, VekDocument &document, const QString &displayName,
                    const std::vector<std::shared_ptr<VekObject>> &selection);

// The export of a grabbed area: the panel (name "_selectedArea"), then the writer with the
// area and the objects that meet it, unclipped. False when cancelled: the canvas keeps the
// area. After OK the area is done with, even when the writer failed (it says so).
bool saveSelectedPart(QWidget *parent, VekDocument &document, const QString &displayName, const Rect &area,
                      const std::vector<std::shared_ptr<VekObject>> &objects);

