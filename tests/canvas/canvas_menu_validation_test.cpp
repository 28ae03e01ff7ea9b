// Which canvas commands are enabled, the toggles' marks and titles, and the background
// colour command.
#include "canvas/background_color_command.h"
#include "canvas/canvas_menu_validation.h"

#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "tests/canvas/command_fixture.h"
#include "tests/support/path_helpers.h"

#include <map>

namespace {

std::shared_ptr<VekObject> editablePath()
{
    auto path = VekObjPath::create();
    path->setBezierPath(polyline({{0, 0}, {10, 10}}));
    return path;
}

} // namespace

TEST(CanvasMenuValidation, CommandsFollowTheSelection)
{
    ensureGuiApp();
    const auto plain = VekObject::create();
    // The marker has no path yet: it converts, but its path cannot be edited.
    const std::vector<std::shared_ptr<VekObject>> none, one{plain}, pathAndPlain{editablePath(), plain},
        twoPaths{editablePath(), editablePath()}, marker{VekObjMarker::create()};
    const struct {
        CanvasAction action;
        bool none, one, pathAndPlain, twoPaths, marker;
    } cases[] = {
        {CanvasAction::Copy, false, true, true, true, true},
        {CanvasAction::Cut, false, true, true, true, true},
        {CanvasAction::Delete, false, true, true, true, true},
        {CanvasAction::Duplicate, false, true, true, true, true},
        {CanvasAction::BringToFront, false, true, true, true, true},
        {CanvasAction::SendToBack, false, true, true, true, true},
        {CanvasAction::Group, false, false, true, true, false},
        {CanvasAction::Ungroup, false, false, true, true, false},
        {CanvasAction::MakeSameWidth, false, false, true, true, false},
        {CanvasAction::MakeSameHeight, false, false, true, true, false},
        {CanvasAction::MakeSmoother, false, false, true, true, false},
        {CanvasAction::MakeStraight, false, false, true, true, false},
        {CanvasAction::PathReverse, false, false, true, true, false},
        {CanvasAction::CloseBezierPath, false, false, true, true, false},
        {CanvasAction::MergeBezierPaths, false, false, false, true, false},
        {CanvasAction::ConvertToNormal, false, false, false, false, true},
        {CanvasAction::Paste, true, true, true, true, true},
        {CanvasAction::MakePositive, true, true, true, true, true},
    };
    for (const auto &c : cases) {
        const std::map<const char *, std::pair<const std::vector<std::shared_ptr<VekObject>> *, bool>> rows{
            {"none", {&none, c.none}},
            {"one", {&one, c.one}},
            {"path and plain", {&pathAndPlain, c.pathAndPlain}},
            {"two paths", {&twoPaths, c.twoPaths}},
            {"marker", {&marker, c.marker}},
        };
        for (const auto &[name, row] : rows) {
            CanvasMenuState state;
            state.selection = *row.first;
            const MenuItemState item = validateCanvasAction(c.action, state);
            EXPECT_EQ(item.enabled, row.second) << int(c.action) << " with " << name;
            EXPECT_FALSE(item.checked.has_value()) << int(c.action);
        }
    }
}

TEST(CanvasMenuValidation, TogglesShowTheirState)
{
    CanvasMenuState state;
    state.snapsToGrid = true;
    state.showAnchors = true;
    state.showInvisibleChars = true;
    state.backgroundHidden = true;
    EXPECT_EQ(validateCanvasAction(CanvasAction::SnapsToGrid, state).checked, true);
    EXPECT_EQ(validateCanvasAction(CanvasAction::ShowAnchors, state).checked, true);

    // Without a background the template item is disabled and keeps its mark.
    MenuItemState hide = validateCanvasAction(CanvasAction::HideTemplate, state);
    EXPECT_FALSE(hide.enabled);
    EXPECT_FALSE(hide.checked.has_value());
    state.hasBackground = true;
    hide = validateCanvasAction(CanvasAction::HideTemplate, state);
    EXPECT_TRUE(hide.enabled);
    EXPECT_EQ(hide.checked, true);

    // Invisible characters show their state even while no text is edited.
    MenuItemState invisible = validateCanvasAction(CanvasAction::ShowInvisibleChars, state);
    EXPECT_FALSE(invisible.enabled);
    EXPECT_EQ(invisible.checked, true);
    state.editingText = true;
    EXPECT_TRUE(validateCanvasAction(CanvasAction::ShowInvisibleChars, state).enabled);

    EXPECT_EQ(validateCanvasAction(CanvasAction::ToggleRulers, state).title, QStringLiteral("Show Rulers"));
    state.rulersVisible = true;
    EXPECT_EQ(validateCanvasAction(CanvasAction::ToggleRulers, state).title, QStringLiteral("Hide Rulers"));
}

namespace {

class FakeColorWell : public ColorControl {
public:
    explicit FakeColorWell(const Color &color) : m_color(color) {}
    Color color() const override { return m_color; }
    void setColor(const Color &color) override
    {
        m_color = color;
        ++updates;
    }
    Color m_color;
    int updates = 0;
};

} // namespace

TEST(BackgroundColorCommand, ColoursAreNormalisedAndShownBack)
{
    CommandFixture f;
    {
        FakeColorWell well(Color::colorWithDeviceRed(1, 0.5f, 0, 0.8f));
        changeBackgroundColor(f.doc, well);
        EXPECT_EQ(f.doc.backgroundColor().colorSpaceName(), CalibratedRGBColorSpace);
        EXPECT_EQ(well.updates, 1);
        EXPECT_EQ(well.m_color, f.doc.backgroundColor());
        EXPECT_FLOAT_EQ(f.doc.backgroundColor().alphaComponent(), 0.8f);
    }
    {
        FakeColorWell well(Color::colorWithGenericCyan(0.1f, 0.2f, 0.3f, 0.4f, 1));
        changeBackgroundColor(f.doc, well);
        EXPECT_EQ(f.doc.backgroundColor().colorSpaceName(), DeviceCMYKColorSpace);
        EXPECT_EQ(well.updates, 1);
        EXPECT_FLOAT_EQ(f.doc.backgroundColor().cyanComponent(), 0.1f);
        EXPECT_FLOAT_EQ(f.doc.backgroundColor().blackComponent(), 0.4f);
    }
    {
        const Color grey = Color::colorWithCalibratedWhite(0.5f);
        FakeColorWell well(grey);
        changeBackgroundColor(f.doc, well);
        EXPECT_EQ(f.doc.backgroundColor(), grey);
        EXPECT_EQ(well.updates, 0);
    }
    EXPECT_TRUE(f.doc.isDocumentEdited());
}
