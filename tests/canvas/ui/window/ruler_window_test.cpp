// The canvas's rulers on an X server: centimetres and inches at 100 % and 250 % (scrolled),
// with the selection's markers and the mouse line, match small golden images.
#include "tests/canvas/ui/ruler_canvas_fixture.h"
#include "tests/support/golden_image.h"

namespace {

class UnitShell : public ShellServices {
public:
    int selectedUnit() const override { return unit; }
    int unit = 0;
};

} // namespace

TEST(RulerWindow, CentimetresAndInchesAt100And250PercentMatchTheGoldenImages)
{
    ensureWidgetApp();
    UnitShell shell;
    ScopedShell installed(shell);
    struct Case {
        int unit;
        double scale;
        QPointF origin;
        const char *name;
    };
    const Case cases[] = {
        {0, 1.0, {10, 10}, "cm_100"},
        {1, 1.0, {10, 10}, "in_100"},
        {0, 2.5, {-90, -40}, "cm_250"},
        {1, 2.5, {-90, -40}, "in_250"},
    };
    for (const Case &c : cases) {
        shell.unit = c.unit;
        RulerTestCanvas canvas;
        canvas.host->horizontalRuler().updateToCurrentUnit();
        canvas.host->verticalRuler().updateToCurrentUnit();
        canvas.scale = c.scale;
        canvas.origin = c.origin;
        canvas.host->setRulersVisible(true);
        canvas.select({canvas.add({40, 30, 60, 45})});
        waitForExposure(canvas);
        ASSERT_TRUE(canvas.windowHandle()->isExposed());
        const QPointF mouse = canvas.viewport()->mapTo(&canvas, QPointF(150, 100));
        canvas.host->drawTemporaryLinesAt({float(mouse.x()), float(mouse.y())});

        const QString name = QString::fromLatin1(c.name);
        expectMatchesGolden(canvas.host->horizontalRuler().grab().toImage(), QStringLiteral("ruler_h_%1.png").arg(name));
        expectMatchesGolden(canvas.host->verticalRuler().grab().toImage(), QStringLiteral("ruler_v_%1.png").arg(name));
    }
}
