// The built-in shell answers and the process-wide shell.
#include "model/services/shell_services.h"

namespace {

ShellServices *installedShell = nullptr;

} // namespace

Color systemKnobColor()
{
    return Color::colorWithCalibratedRed(0.35f, 0.45f, 0.6f);
}

int ShellServices::selectedTool() const { return 0; }
int ShellServices::currentMarkerColorNr() const { return 1; }
float ShellServices::currentMarkerThickness() const { return 10.0f; }
QString ShellServices::selectedFormat() const { return QStringLiteral("%d"); }
int ShellServices::selectedFormatType() const { return 0; }
int ShellServices::selectedFormatAlign() const { return 0; }
AttributedString ShellServices::selectedFormatExample() const { return AttributedString(QStringLiteral("1")); }
int ShellServices::gridCurrentColumnNr() const { return 2; }
int ShellServices::gridCurrentRowNr() const { return 2; }
Color ShellServices::gridCurrentColor() const { return Color::colorWithDeviceRed(0, 0, 0); }
int ShellServices::gridCurrentDrawLineH() const { return 1; }
int ShellServices::gridCurrentDrawLineV() const { return 1; }
void ShellServices::showToolOptionPanelFor(const VekObject &, bool) {}
void ShellServices::orderOutToolOptionPanelFor(const VekObject &) {}
void ShellServices::setGridOutlets(VekObjGrid &, int, int) {}
QCursor ShellServices::selectColumnCursor() const { return QCursor(Qt::ArrowCursor); }
QCursor ShellServices::cursorForSelectedTool() const { return QCursor(Qt::CrossCursor); }
QCursor ShellServices::selectRowCursor() const { return QCursor(Qt::ArrowCursor); }

Color ShellServices::markerColor(int number) const
{
    switch (number) {
    case 2: return Color::colorWithCalibratedRed(0.4f, 1.0f, 0.4f, 0.5f);
    case 3: return Color::colorWithCalibratedRed(1.0f, 0.5f, 0.8f, 0.5f);
    case 4: return Color::colorWithCalibratedRed(0.4f, 0.8f, 1.0f, 0.5f);
    case 5: return Color::colorWithCalibratedRed(1.0f, 0.6f, 0.2f, 0.5f);
    default: return Color::colorWithCalibratedRed(1.0f, 1.0f, 0.0f, 0.5f);
    }
}

int ShellServices::selectedUnit() const { return 0; }
bool ShellServices::displayOnRealWorldBase() const { return false; }
float ShellServices::gridScale() const { return 1.0f; }
std::optional<Font> ShellServices::vekDefaultUserFont() const { return std::nullopt; }
bool ShellServices::continueFindInOthers() const { return false; }

Color ShellServices::gridColor() const { return Color::colorWithCalibratedWhite(0.85f, 1.0f); }
Color ShellServices::gridmColor() const { return Color::colorWithCalibratedWhite(0.65f, 1.0f); }
Color ShellServices::knobColor() const { return Color::colorWithCalibratedRed(0.2f, 0.4f, 1.0f); }
Color ShellServices::ctrlLineColor() const { return Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f); }
Color ShellServices::ctrlPtsColor() const { return Color::colorWithCalibratedRed(0.6f, 0.6f, 0.6f); }
Color ShellServices::ctrlPtCColor() const { return Color::colorWithCalibratedRed(1.0f, 0.0f, 0.0f); }
Color ShellServices::ctrlPtBColor() const { return Color::colorWithCalibratedRed(0.0f, 0.8f, 0.0f); }
Color ShellServices::ctrlPtEColor() const { return Color::colorWithCalibratedRed(0.0f, 0.0f, 1.0f); }
Color ShellServices::ctrlPtOColor() const { return Color::colorWithCalibratedRed(1.0f, 1.0f, 1.0f); }
Color ShellServices::frBGColor() const { return Color::colorWithCalibratedRed(1.0f, 0.97f, 0.75f); }
Color ShellServices::frMKColor() const { return Color::colorWithCalibratedRed(0.2f, 0.2f, 0.2f); }

ShellServices &shellServices()
{
    static ShellServices builtIn;
    return installedShell ? *installedShell : builtIn;
}

void setShellServices(ShellServices *shell)
{
    installedShell = shell;
}
