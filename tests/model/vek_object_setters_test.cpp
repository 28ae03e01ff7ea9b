// The drawing object's attributes: defaults, the undoable setters with their notifications,
// the clamps and side effects, the colour getters and the dash migration.
#include "fakes.h"

#include "platform/foundation/notification_center.h"
#include "toolkit/cmyk_color.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString text(const std::optional<Color> &c)
{
    if (!c)
        return QStringLiteral("none");
    float v[Color::maxComponents + 1];
    c->getComponents(v);
    QStringList parts{c->colorSpaceName()};
    for (int i = 0; i < c->numberOfComponents(); ++i)
        parts << QString::number(v[i]);
    return parts.join(' ');
}

// Counts the change notifications an object posts.
class ChangeCounter {
public:
    explicit ChangeCounter(const VekObject &object)
    {
        m_token = NotificationCenter::defaultCenter().addObserver(
            this, VekObjectDidChangeNotification, &object, [this](const Notification &) { ++count; });
    }
    ~ChangeCounter() { NotificationCenter::defaultCenter().removeObserver(m_token); }
    int count = 0;

private:
    NotificationCenter::ObserverToken m_token;
};

// One attribute: how to change it, how to read it (as text), and how many change
// notifications one change posts.
struct AttributeCase {
    const char *name;
    std::function<void(VekObject &)> prepare;
    std::function<void(VekObject &)> set;
    std::function<QString(const VekObject &)> get;
    int posts;
};

std::vector<AttributeCase> attributeCases()
{
    const auto n = [](auto v) { return QString::number(v); };
    return {
        {"simpleClip", {}, [](VekObject &o) { o.setSimpleClip(false); }, [=](const VekObject &o) { return n(o.simpleClip()); }, 1},
        {"groupWithNext", {}, [](VekObject &o) { o.setGroupWithNext(true); }, [=](const VekObject &o) { return n(o.groupWithNext()); }, 1},
        {"exclusive", {}, [](VekObject &o) { o.setExclusive(true); }, [=](const VekObject &o) { return n(o.isExclusive()); }, 1},
        {"note", {}, [](VekObject &o) { o.setNote("remember"); }, [](const VekObject &o) { return o.note(); }, 0},
        {"groupID", {}, [](VekObject &o) { o.setGroupID("g1"); }, [](const VekObject &o) { return o.groupID().isNull() ? "nil" : o.groupID(); }, 0},
        {"anchorName", {}, [](VekObject &o) { o.setAnchorName("#top"); }, [](const VekObject &o) { return o.anchorName().isNull() ? "nil" : o.anchorName(); }, 0},
        {"repeatStart", {}, [](VekObject &o) { o.setRepeatStart(2); }, [=](const VekObject &o) { return n(o.repeatStartPage()); }, 1},
        {"repeatEnd", {}, [](VekObject &o) { o.setRepeatEnd(2); }, [=](const VekObject &o) { return n(o.repeatEndPage()); }, 1},
        {"capStyle", {}, [](VekObject &o) { o.setCapStyle(1); }, [=](const VekObject &o) { return n(o.capStyle()); }, 1},
        {"joinStyle", {}, [](VekObject &o) { o.setJoinStyle(2); }, [=](const VekObject &o) { return n(o.joinStyle()); }, 1},
        {"flatness", {}, [](VekObject &o) { o.setObjFlatness(0.5f); }, [=](const VekObject &o) { return n(o.flatness()); }, 1},
        {"fillAlpha", {}, [](VekObject &o) { o.setFillAlpha(0.25f); }, [=](const VekObject &o) { return n(o.fillAlpha()); }, 1},
        {"fillRule", {}, [](VekObject &o) { o.setObjFillRule(1); }, [=](const VekObject &o) { return n(o.fillRule()); }, 1},
        {"drawsStroke", {}, [](VekObject &o) { o.setDrawsStroke(false); }, [=](const VekObject &o) { return n(o.drawsStroke()); }, 1},
        // Switching the fill on replaces the nearly transparent colour and the alpha: undo
        // must bring all three back.
        {"drawsFill", [](VekObject &o) { o.setFillColor(Color::redColor().colorWithAlphaComponent(0.05f)); },
         [](VekObject &o) { o.setDrawsFill(true); },
         [=](const VekObject &o) { return n(o.drawsFill()) + " " + text(o.storedFillColor()) + " " + n(o.fillAlpha()); }, 1},
        // An object stroking in the default black strokes again after undo.
        {"strokeColor", {}, [](VekObject &o) { o.setObjStrokeColor(Color::blueColor()); },
         [=](const VekObject &o) { return text(o.storedStrokeColor()) + " " + n(o.drawsStroke()); }, 1},
        {"fillColor", [](VekObject &o) { o.setFillColor(Color::redColor()); }, [](VekObject &o) { o.setFillColor(Color::greenColor()); },
         [](const VekObject &o) { return text(o.storedFillColor()); }, 1},
        {"lineDrawIntensity", {}, [](VekObject &o) { o.setLineDrawIntensity(0.8f, true); }, [=](const VekObject &o) { return n(o.lineDrawIntensity()); }, 1},
        {"lineDrawPattern", {}, [](VekObject &o) { o.setLineDrawPattern(2, true); }, [=](const VekObject &o) { return n(o.lineDrawPattern()); }, 1},
        {"dashScale", {}, [](VekObject &o) { o.setDashScale(2.0f, true); }, [=](const VekObject &o) { return n(o.dashScale()); }, 1},
        {"gradientType", [](VekObject &o) { o.setFillColor(Color::redColor()); }, [](VekObject &o) { o.setGradientType(1, true); },
         [=](const VekObject &o) { return n(o.objGradientType()) + " " + n(o.drawsFill()); }, 1},
        {"gradientRotate", {}, [](VekObject &o) { o.setGradientRotate(45, true); }, [=](const VekObject &o) { return n(o.gradientRotate()); }, 1},
        {"gradientFlip", {}, [](VekObject &o) { o.setGradientFlip(1, true); }, [=](const VekObject &o) { return n(o.gradientFlip()); }, 1},
        {"gradientCenter", {}, [](VekObject &o) { o.setGradientCenter({0.5f, -2}, true); },
         [](const VekObject &o) { return stringFromPoint(o.gradientCenter()); }, 1},
        // The old area (with its shadow) and the new one are both announced.
        {"noShadow", {}, [](VekObject &o) { o.setNoShadow(true); }, [=](const VekObject &o) { return n(o.noShadow()); }, 2},
        {"lineWidth", {}, [](VekObject &o) { o.setObjLineWidth(3); }, [=](const VekObject &o) { return n(o.lineWidth()); }, 1},
        // Shadow settings redraw through the canvas instead of announcing a change.
        {"indvShadow", {}, [](VekObject &o) { o.setIndvShadowValue(PropertyList::fromInt(1), ShadowStateKey); },
         [=](const VekObject &o) { return n(o.indvShadow()); }, 1},
    };
}

class SetterTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.pages = 3;
        doc.shadowValues.insert(ShadowAngleKey, PropertyList::fromFloat(90));
        doc.shadowValues.insert(ShadowOffsetKey, PropertyList::fromFloat(4));
        panels.shadowDefaults = doc.shadowValues;
    }

    std::shared_ptr<VekObject> adoptedObject(const AttributeCase &c)
    {
        auto object = VekObject::create();
        doc.adopt(object);
        if (c.prepare)
            c.prepare(*object);
        doc.undo.removeAllActions();
        doc.undo.closeEventGroup();
        doc.undo.clearChangeCount();
        doc.invalidated.clear();
        return object;
    }

    FakeDocument doc;
    FakePanels panels;
    ScopedPanels installPanels{panels};
};

} // namespace

TEST(VekObjectDefaults, NewObject)
{
    const auto o = VekObject::create();
    EXPECT_EQ(o->bounds(), Rect(0, 0, 1, 1));
    EXPECT_EQ(o->lineWidth(), 1.0f);
    EXPECT_EQ(o->flatness(), 1.0f);
    EXPECT_EQ(o->fillAlpha(), 1.0f);
    EXPECT_EQ(o->lineDrawIntensity(), 0.5f);
    EXPECT_EQ(o->dashScale(), 0.0f);
    EXPECT_TRUE(o->drawsStroke());
    EXPECT_FALSE(o->drawsFill());
    EXPECT_TRUE(o->simpleClip());
    EXPECT_EQ(o->repeatStartPage(), 1);
    EXPECT_EQ(o->selectedElementNr(), -1);
    EXPECT_EQ(o->selectedPointNr(), -1);
    EXPECT_FALSE(o->note().isNull());
    EXPECT_TRUE(o->note().isEmpty());
    EXPECT_TRUE(o->groupID().isNull());
    EXPECT_FALSE(o->pathCreated());
    EXPECT_EQ(o->document(), nullptr);
    EXPECT_EQ(o->fillColor(), Color::clearColor());
    EXPECT_EQ(o->strokeColor(), Color::blackColor());
}

TEST_F(SetterTable, SetNotifyUndoRedo)
{
    for (const AttributeCase &c : attributeCases()) {
        SCOPED_TRACE(c.name);
        auto object = adoptedObject(c);
        const QString before = c.get(*object);
        ChangeCounter changes(*object);

        c.set(*object);
        const QString after = c.get(*object);
        EXPECT_NE(after, before);
        EXPECT_EQ(changes.count, c.posts);
        ASSERT_TRUE(doc.undo.canUndo());
        doc.undo.closeEventGroup();

        // The same value again changes nothing and records nothing.
        c.set(*object);
        doc.undo.closeEventGroup();
        EXPECT_EQ(changes.count, c.posts);
        EXPECT_EQ(doc.undo.changeCount(), 1);

        doc.undo.undo();
        EXPECT_EQ(c.get(*object), before);
        EXPECT_EQ(changes.count, 2 * c.posts);
        doc.undo.redo();
        EXPECT_EQ(c.get(*object), after);
        EXPECT_EQ(changes.count, 3 * c.posts);
    }
}

TEST_F(SetterTable, SilentWithoutWindowWhileLoadingAndWhenLoose)
{
    for (const AttributeCase &c : attributeCases()) {
        SCOPED_TRACE(c.name);
        {
            doc.window = false;
            auto object = adoptedObject(c);
            ChangeCounter changes(*object);
            c.set(*object);
            EXPECT_EQ(changes.count, 0);
            EXPECT_TRUE(doc.undo.canUndo());   // the change is still undoable
            doc.window = true;
        }
        {
            auto object = adoptedObject(c);
            ChangeCounter changes(*object);
            object->setIsLoadingPropertyList(true);
            c.set(*object);
            EXPECT_EQ(changes.count, 0);
            EXPECT_TRUE(doc.invalidated.empty());
        }
        {
            auto object = VekObject::create();
            if (c.prepare)
                c.prepare(*object);
            const QString before = c.get(*object);
            ChangeCounter changes(*object);
            c.set(*object);
            EXPECT_EQ(changes.count, 0);
            EXPECT_NE(c.get(*object), before);
        }
    }
}

TEST(VekObjectSetters, ClampsAndNormalising)
{
    const auto o = VekObject::create();
    o->setLineDrawIntensity(0.05f, true);
    EXPECT_FLOAT_EQ(o->lineDrawIntensity(), 0.1f);
    o->setLineDrawIntensity(3, true);
    EXPECT_EQ(o->lineDrawIntensity(), 1.0f);
    o->setFillAlpha(-1);
    EXPECT_EQ(o->fillAlpha(), 0.0f);
    o->setFillAlpha(2);
    EXPECT_EQ(o->fillAlpha(), 1.0f);
    o->setObjFillRule(5);
    EXPECT_EQ(o->fillRule(), 1);
    o->setObjFlatness(0.5f);
    o->setObjFlatness(0);
    EXPECT_EQ(o->flatness(), 1.0f);
    o->setObjLineWidth(-2);
    EXPECT_EQ(o->lineWidth(), 0.0f);
    o->setJoinStyle(7);
    EXPECT_EQ(o->joinStyle(), 0);
    o->setAnchorName("#");
    EXPECT_TRUE(o->anchorName().isNull());
    o->setAnchorName("#a");
    EXPECT_EQ(o->anchorName(), "#a");

    o->setGradientCenter({0.05f, 1.7f}, true);
    EXPECT_EQ(o->gradientCenter(), Point({0, 1}));
    o->setGradientCenter({0.05f, 1.7f}, false);   // stored as it comes
    EXPECT_EQ(o->gradientCenter(), Point({0.05f, 1.7f}));
    o->setGradientRotate(400, true);
    EXPECT_EQ(o->gradientRotate(), 0.0f);
    o->setGradientRotate(400, false);
    EXPECT_EQ(o->gradientRotate(), 400.0f);
}

TEST(VekObjectSetters, RepeatStartAndEndMoveEachOtherAndUndoTogether)
{
    FakeDocument doc;
    doc.pages = 3;
    const auto o = VekObject::create();
    doc.adopt(o);
    o->setRepeatEnd(9);
    EXPECT_EQ(o->repeatEndPage(), 3);
    o->setRepeatStart(2);
    o->setRepeatEnd(1);
    EXPECT_EQ(o->repeatEndPage(), 1);
    EXPECT_EQ(o->repeatStartPage(), 1);
    o->setRepeatStart(-4);
    EXPECT_EQ(o->repeatStartPage(), 1);

    o->setRepeatEnd(2);
    doc.undo.closeEventGroup();
    o->setRepeatStart(3);
    EXPECT_EQ(o->repeatEndPage(), 3);
    doc.undo.undo();
    EXPECT_EQ(o->repeatStartPage(), 1);
    EXPECT_EQ(o->repeatEndPage(), 2);
    doc.undo.redo();
    EXPECT_EQ(o->repeatStartPage(), 3);
    EXPECT_EQ(o->repeatEndPage(), 3);

    doc.pages = 4;
    o->setRepeatEnd(0);
    EXPECT_EQ(o->repeatEndPage(), 4);
}

TEST(VekObjectSetters, ColoursSwitchStrokeAndFill)
{
    FakeDocument doc;
    const auto o = VekObject::create();
    doc.adopt(o);

    const Color faint = Color::redColor().colorWithAlphaComponent(0.05f);
    o->setObjStrokeColor(faint);
    EXPECT_EQ(o->storedStrokeColor(), faint);
    EXPECT_FALSE(o->drawsStroke());
    EXPECT_TRUE(doc.recentColors.empty());
    o->setDrawsStroke(true);
    o->setObjStrokeColor(faint);   // the same colour: only the stroke flag is set again
    EXPECT_FALSE(o->drawsStroke());
    o->setObjStrokeColor(Color::blueColor());
    ASSERT_EQ(doc.recentColors.size(), 1u);
    EXPECT_EQ(doc.recentColors[0], Color::blueColor());

    o->setFillColor(Color::redColor());
    EXPECT_TRUE(o->drawsFill());
    o->setFillColor(std::nullopt);
    EXPECT_FALSE(o->drawsFill());

    o->setFillColor(Color::redColor());
    o->setGradientType(2, false);
    o->setFillColor(std::nullopt);
    EXPECT_TRUE(o->drawsFill());   // the gradient still fills
}

TEST(VekObjectSetters, SwitchingTheFillOn)
{
    const auto white = VekObject::create();
    white->setDrawsFill(true);
    EXPECT_EQ(white->storedFillColor(), Color::whiteColor());

    const auto faint = VekObject::create();
    faint->setGradientType(0, false);
    faint->setFillColor(Color::redColor().colorWithAlphaComponent(0.05f));
    faint->setDrawsFill(true);
    EXPECT_EQ(faint->storedFillColor(), Color::redColor());
    EXPECT_EQ(faint->fillAlpha(), 1.0f);

    const auto half = VekObject::create();
    half->setFillColor(Color::redColor().colorWithAlphaComponent(0.5f));
    half->setDrawsFill(false);
    half->setDrawsFill(true);
    EXPECT_EQ(half->storedFillColor(), Color::redColor().colorWithAlphaComponent(0.5f));
    EXPECT_EQ(half->fillAlpha(), 0.5f);
}

TEST(VekObjectColors, CmykDocumentHandsOutCmyk)
{
    FakeDocument doc;
    doc.cmyk = true;
    const auto o = VekObject::create();
    doc.adopt(o);
    EXPECT_EQ(o->strokeColor(), cmykColor(Color::blackColor()));
    EXPECT_TRUE(o->strokeColor().isCMYK());
    EXPECT_EQ(o->fillColor(), Color::colorWithDeviceCyan(0, 0, 0, 0, 0));
    o->setFillColor(Color::redColor());
    EXPECT_EQ(o->fillColor(), cmykColor(Color::redColor()));
    o->setDrawsStroke(false);
    EXPECT_EQ(o->strokeColor(), Color::clearColor());
}

TEST(VekObjectDocument, VersionOneDashesMigrateOnlyWhenReadFromTheFile)
{
    struct Case {
        int dash;
        int dashAfter;
        int lineDrawAfter;
        float scaleAfter;
    };
    const Case cases[] = {{7, 0, 2, 0}, {6, 0, 1, 0}, {5, 10, 0, 1}, {3, 3, 0, 1}, {0, 0, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dash);
        FakeDocument old;
        old.version = "1";
        const auto read = VekObject::create();
        read->setDashPatternUpdate(c.dash, false);
        old.adopt(read, true);
        EXPECT_EQ(read->objDashPattern(), c.dashAfter);
        EXPECT_EQ(read->lineDrawPattern(), c.lineDrawAfter);
        EXPECT_EQ(read->dashScale(), c.scaleAfter);
        EXPECT_FALSE(old.undo.canUndo());

        // Adopted again when the window is set up: nothing more changes.
        read->setDocument(&old, true);
        EXPECT_EQ(read->objDashPattern(), c.dashAfter);

        // Made or pasted later in the same document: kept as the user chose.
        const auto fresh = VekObject::create();
        fresh->setDashPatternUpdate(c.dash, false);
        old.adopt(fresh, false);
        EXPECT_EQ(fresh->objDashPattern(), c.dash);

        FakeDocument current;
        const auto now = VekObject::create();
        now->setDashPatternUpdate(c.dash, false);
        current.adopt(now, true);
        EXPECT_EQ(now->objDashPattern(), c.dash);
        EXPECT_EQ(now->dashScale(), 0.0f);
    }
}

TEST(VekObjectDocument, DidChangeInvalidatesOnlyWithAWindow)
{
    FakeDocument doc;
    const auto o = VekObject::create();
    doc.adopt(o);
    o->didChange();
    EXPECT_EQ(doc.invalidated.size(), 1u);
    doc.window = false;
    o->didChange();
    EXPECT_EQ(doc.invalidated.size(), 1u);
}
