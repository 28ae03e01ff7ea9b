// The installed way to the main window's canvas.
#include "panels/panel_canvas.h"

namespace {

MainCanvasProvider &provider()
{
    static MainCanvasProvider installed;
    return installed;
}

} // namespace

PanelCanvas *mainPanelCanvas()
{
    return provider() ? provider()() : nullptr;
}

void setMainCanvasProvider(MainCanvasProvider provider_)
{
    provider() = std::move(provider_);
}
