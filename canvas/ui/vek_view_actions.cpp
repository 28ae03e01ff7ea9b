// The canvas's menu commands as a responder: each action's validation (from the canvas's
// menu state) and what it runs (the canvas's own commands and those of canvas/*_commands).
#include "canvas/ui/vek_view.h"

#include "canvas/align_commands.h"
#include "canvas/arrange_commands.h"
#include "canvas/canvas_menu_validation.h"
#include "canvas/ui/background_colour_target.h"
#include "canvas/page_commands.h"
#include "canvas/path_commands.h"
#include "canvas/ui/text_menu_commands.h"
#include "canvas/ui/ruler_host.h"
#include "canvas/zoom_commands.h"
#include "document/vek_document.h"

#include <QGuiApplication>

#include <functional>
#include <map>
#include <optional>

namespace {

struct CanvasCommand {
    std::optional<CanvasAction> validation;   // none: always enabled
    std::function<void(VekView &, CanvasCommandContext &, const ActionSender &)> run;
};

// A command of canvas/*_commands.
template <void (*Command)(CanvasCommandContext &)>
CanvasCommand contextCommand(std::optional<CanvasAction> validation = std::nullopt)
{
    return {validation, [](VekView &, CanvasCommandContext &context, const ActionSender &) { Command(context); }};
}

CanvasCommand alignCommand(AlignEdge edge)
{
    return {std::nullopt,
            [edge](VekView &, CanvasCommandContext &context, const ActionSender &) { alignSelection(context, edge); }};
}

const std::map<QString, CanvasCommand> &canvasCommands()
{
    using A = CanvasAction;
    static const std::map<QString, CanvasCommand> commands = {
        {"copy", {A::Copy, [](VekView &v, auto &, auto &) { v.copy(); }}},
        {"cut", {A::Cut, [](VekView &v, auto &, auto &) { v.cut(); }}},
        {"paste", {A::Paste, [](VekView &v, auto &, auto &) {
             v.paste(QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier);
         }}},
        {"duplicate", {A::Duplicate, [](VekView &v, auto &, auto &) { v.duplicate(); }}},
        {"delete", {A::Delete, [](VekView &v, auto &, auto &) { v.deleteSelection(); }}},
        {"selectAll", {std::nullopt, [](VekView &v, auto &, auto &) { v.selectAll(); }}},
        {"group", contextCommand<groupSelection>(A::Group)},
        {"ungroup", contextCommand<ungroupSelection>(A::Ungroup)},
        {"bringToFront", contextCommand<bringToFront>(A::BringToFront)},
        {"sendToBack", contextCommand<sendToBack>(A::SendToBack)},
        {"makeSameWidth", contextCommand<makeSameWidth>(A::MakeSameWidth)},
        {"makeSameHeight", contextCommand<makeSameHeight>(A::MakeSameHeight)},
        {"alignLeft", alignCommand(AlignEdge::Left)},
        {"alignRight", alignCommand(AlignEdge::Right)},
        {"alignTop", alignCommand(AlignEdge::Top)},
        {"alignBottom", alignCommand(AlignEdge::Bottom)},
        {"makeSmoother", contextCommand<makeSmoother>(A::MakeSmoother)},
        {"makeStraight", contextCommand<makeStraight>(A::MakeStraight)},
        {"makePositive", contextCommand<makePositive>(A::MakePositive)},
        {"pathReverse", contextCommand<pathReverse>(A::PathReverse)},
        {"closeBezierPath", contextCommand<closeBezierPaths>(A::CloseBezierPath)},
        {"mergeBezierPaths", contextCommand<mergeBezierPaths>(A::MergeBezierPaths)},
        {"convertToNormal", contextCommand<convertToNormal>(A::ConvertToNormal)},
        {"insertPage", contextCommand<insertPage>()},
        {"addPage", contextCommand<addPage>()},
        {"removePage", contextCommand<removePage>()},
        {"movePageUp", contextCommand<movePageUp>()},
        {"movePageDown", contextCommand<movePageDown>()},
        {"zoomIn", contextCommand<zoomIn>()},
        {"zoomOut", contextCommand<zoomOut>()},
        {"snapsToGrid", {A::SnapsToGrid, [](VekView &v, auto &, auto &) { v.setSnapsToGrid(!v.snapsToGrid()); }}},
        {"hideTemplate", {A::HideTemplate, [](VekView &v, auto &, auto &) {
             v.setBackgroundHidden(!v.backgroundHidden());
         }}},
        {"showInvisibleChars", {A::ShowInvisibleChars, [](VekView &v, auto &, auto &) {
             v.setShowInvisibleChars(!v.showInvisibleChars());
         }}},
        {"showAnchors", {A::ShowAnchors, [](VekView &v, auto &, auto &) { v.setShowAnchors(!v.showAnchors()); }}},
        {"toggleVekRulers", {A::ToggleRulers, [](VekView &v, auto &, auto &) { v.rulerHost().toggleVekRulers(); }}},
        {"changeBackgroundColor", {std::nullopt, [](VekView &v, auto &, auto &) {
             v.backgroundColourTarget().orderFrontColourPanel();
         }}},
    };
    return commands;
}

} // namespace

bool VekView::respondsToAction(const QString &action) const
{
    return canvasCommands().count(action) > 0 || respondsToTextAction(action);
}

bool VekView::validateAction(const QString &action, ActionSender &sender)
{
    if (respondsToTextAction(action))
        return validateTextAction(*this, action, sender);
    const auto it = canvasCommands().find(action);
    if (it == canvasCommands().end())
        return false;
    if (!it->second.validation)
        return true;
    CanvasMenuState state;
    state.selection = selectedObjects();
    state.snapsToGrid = snapsToGrid();
    state.hasBackground = m_document.backgroundPDF() || m_document.backgroundImage().isValid();
    state.backgroundHidden = backgroundHidden();
    state.editingText = m_editor != nullptr;
    state.showInvisibleChars = m_showInvisibleChars;
    state.showAnchors = m_showAnchors;
    state.rulersVisible = rulersVisible();
    const MenuItemState item = validateCanvasAction(*it->second.validation, state);
    if (item.checked)
        sender.state = *item.checked ? 1 : 0;
    if (item.title)
        sender.title = *item.title;
    return item.enabled;
}

bool VekView::performAction(const QString &action, const ActionSender &sender)
{
    // A command ends a run of typing: what is typed after it is a step of its own.
    m_document.undoManager()->breakCoalescing();
    if (respondsToTextAction(action)) {
        const bool done = performTextAction(*this, action, sender);
        viewport()->update();
        return done;
    }
    const auto it = canvasCommands().find(action);
    if (it == canvasCommands().end())
        return false;
    CanvasCommandContext context = commandContext();
    it->second.run(*this, context, sender);
    viewport()->update();
    return true;
}
