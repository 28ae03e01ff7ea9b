// What the document windows ask of the application shell: the preferences that shape a new
// document and its saving, and the tool palette's choice.
//
// The application installs its implementation with setDocumentShellServices(); until then
// (and in tests that need nothing else) the built-in answers written beside each function
// apply.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>


// Posted by the tool palette (sender: the palette) when the selected tool changes, and when
// the cursor of the selected tool was redrawn.
inline const QString VekSelectedToolDidChangeNotification = QStringLiteral("VekSelectedToolDidChange");
inline const QString VekSelectedToolCursorDidChangeNotification = QStringLiteral("VekSelectedToolCursorDidChange");

struct DefaultMargins {
    float left = 0, right = 0, top = 0, bottom = 0;
};

class DocumentShellServices {
public:
    virtual ~DocumentShellServices() = default;

    // The preferred page size of a new document: 480 x 728.
    virtual Size userPrefViewSize() const { return {480, 728}; }
    // The preferred margins: 0.
    virtual DefaultMargins userDefaultMargins() const { return {}; }
    // The preferred paper: none.
    virtual QString userDefaultPaperName() const { return {}; }
    // Keep the previous file as "name~.vek" when saving over it: no.
    virtual bool keepBackup() const { return false; }
    // Save the readable text form by default: no.
    virtual bool saveFormatted() const { return false; }

    // The tool palette: the selected tool (0 the arrow), and switching back to the arrow.
    virtual int selectedTool() const { return 0; }
    virtual void selectArrowTool() {}
};

DocumentShellServices &documentShellServices();
// Installs the shell (not owned; null puts the built-in one back).
void setDocumentShellServices(DocumentShellServices *services);
