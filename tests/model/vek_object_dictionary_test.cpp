// The drawing objects' dictionary form: round trips through the text and archived forms,
// malformed dictionaries, the class registry, the colour encodings and copies.
#include "fakes.h"

#include "model/object_registry.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_free.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_obj.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "model/vek_obj_spaceholder.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/rtf.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <string>

namespace {

QByteArray archived(const Color &color)
{
    return *archivedDataWithRootObject(color).value;
}

PropertyList dictFromText(const char *text)
{
    PropertyListError error;
    const PropertyList dict = propertyListFromText(QByteArray(text), &error);
    EXPECT_FALSE(dict.isAbsent()) << error.toString().toStdString();
    return dict;
}

// The keys whose values differ between two dictionaries, for failure messages.
std::string differingKeys(const PropertyList &a, const PropertyList &b)
{
    QStringList keys;
    for (const QString &key : a.keys() + b.keys())
        if (a.value(key) != b.value(key) && !keys.contains(key))
            keys << key;
    return keys.join(' ').toStdString();
}

// ---- Round trip ----

// Sets every common attribute to a value other than its default. `cmykFill` decides which
// colour is the CMYK text and which the archived data; `ownShadow` whether the own shadow
// settings are written (they are not while noShadow is on).
void setCommonAttributes(VekObject &o, bool cmykFill, bool ownShadow, int repeatEnd)
{
    o.setBounds(Rect(10.5f, 20.25f, 30, 40.75f));
    o.setRepeatType(3);
    o.setRepeatStart(2);
    o.setRepeatEnd(repeatEnd);
    o.setNote(QStringLiteral("a note with \"quotes\", ü and\na new line"));
    o.setGroupID(QStringLiteral("group-7"));
    o.setAnchorName(QStringLiteral("#anchor"));
    o.setGroupWithNext(true);
    o.setSimpleClip(true);
    o.setExclusive(true);
    if (ownShadow) {
        PropertyList shadow = PropertyList::dictionary();
        shadow.insert(ShadowStateKey, PropertyList::fromInt(1));
        shadow.insert(ShadowColorKey, PropertyList::fromData(archived(Color::colorWithCalibratedRed(0.2f, 0.3f, 0.4f))));
        shadow.insert(ShadowOffsetKey, PropertyList::fromFloat(4.5f));
        shadow.insert(ShadowBlurKey, PropertyList::fromFloat(2));
        shadow.insert(ShadowAngleKey, PropertyList::fromFloat(135));
        o.setIndvShadowValues(shadow);
    } else {
        o.setNoShadow(true);
    }
    const Color cmyk = Color::colorWithDeviceCyan(0.125f, 0.25f, 0.5f, 0.75f, 0.875f);
    const Color rgb = Color::colorWithCalibratedRed(0.1f, 0.6f, 0.9f, 0.8f);
    o.setGradientType(2, false);
    o.setGradientRotate(45.5f, false);
    o.setGradientFlip(1, false);
    o.setGradientCenter(Point{0.5f, -0.25f}, false);
    PropertyList colors = PropertyList::array();
    for (const Color &c : {Color::redColor(), Color::greenColor(), Color::blueColor()})
        colors.append(PropertyList::fromData(archived(c)));
    PropertyList proportions = PropertyList::array();
    proportions.append(PropertyList::fromFloat(0.25f));
    proportions.append(PropertyList::fromFloat(0.75f));
    o.setGradientColorsAndColorRects(colors, proportions);
    o.setFillColor(cmykFill ? cmyk : rgb);
    o.setDrawsFill(true);
    o.setObjFillRule(1);
    o.setFillAlpha(0.4f);
    o.setObjStrokeColor(cmykFill ? rgb : cmyk);
    o.setDrawsStroke(false);
    o.setFlippedHorizontally(true);
    o.setFlippedVertically(true);
    o.setRotation(30.5f, Point(), false);
    o.setSkewX(0.25f, false);
    o.setSkewY(-0.125f, false);
}

// A path object of a kind with a curve, the common attributes and its own line and arrow
// settings other than the defaults.
template <class Kind>
std::shared_ptr<VekObject> pathObject()
{
    auto o = Kind::create();
    BezierPath path;
    path.moveToPoint({10, 20});
    path.lineToPoint({40, 25});
    path.curveToPoint({35, 60}, {50, 40}, {45, 55});
    path.closePath();
    o->setBezierPath(path);
    setCommonAttributes(*o, true, true, 0);
    o->setObjLineWidth(2.5f);
    o->setJoinStyle(1);
    o->setCapStyle(2);
    o->setObjFlatness(0.5f);
    o->setStartArrow(1);
    o->setEndArrow(2);
    o->setArrowLength(8, 30);
    return o;
}

struct RoundTripCase {
    const char *name;
    std::function<std::shared_ptr<VekObject>()> make;
    // Keys the object must write.
    const char *keys;
    // A copy stays linked to the next object (text boxes keep their chain).
    bool copyKeepsLink = false;
};

const char *const AllBaseKeys =
    "class bounds repeatType repeatStart repeatEnd note groupID anchorName groupWithNext simpleClip exclusive "
    "noShadow shadowValues fill fillRule fillAlpha fillColor gradType gradRotate gradFlip gradCenter "
    "gradColorProportion gradColors stroke strokeColor flippedH flippedV rotation skewX skewY";
const char *const BaseKeysWithoutShadow =
    "class bounds repeatType repeatStart repeatEnd note groupID anchorName groupWithNext simpleClip exclusive "
    "noShadow fill fillRule fillAlpha fillColor gradType gradRotate gradFlip gradCenter "
    "gradColorProportion gradColors stroke strokeColor flippedH flippedV rotation skewX skewY";

// Later object kinds add their rows here.
const RoundTripCase RoundTripCases[] = {
    {"base object, CMYK fill, own shadow, through the last page",
     [] {
         auto o = VekObject::create();
         setCommonAttributes(*o, true, true, 0);
         return o;
     },
     AllBaseKeys},
    {"base object, CMYK stroke, no shadow, fixed end page",
     [] {
         auto o = VekObject::create();
         setCommonAttributes(*o, false, false, 5);
         return o;
     },
     BaseKeysWithoutShadow},
    {"path object", [] { return pathObject<VekObjPath>(); }, AllBaseKeys},
    {"shape-library object", [] { return pathObject<VekObjObj>(); }, AllBaseKeys},
    {"space holder", [] { return pathObject<VekObjSpaceholder>(); }, AllBaseKeys},
    {"point list", [] { return pathObject<VekObjPoints>(); }, AllBaseKeys},
    {"free-hand line", [] { return pathObject<VekObjFree>(); }, AllBaseKeys},
    // A marker never has a shadow of its own.
    {"marker",
     [] {
         auto o = pathObject<VekObjMarker>();
         std::static_pointer_cast<VekObjMarker>(o)->setColorNr(4);
         return o;
     },
     BaseKeysWithoutShadow},
    // A right-aligned date field with a red example; a field never has a shadow of its own.
    {"page-number and date field",
     [] {
         ensureGuiApp();   // the example is measured
         auto o = VekObjFormat::create();
         setCommonAttributes(*o, false, false, 0);
         o->setFormatType(1);
         o->setFormat(QStringLiteral("%A, %B %e, %Y"));
         o->setFormatAlign(2);
         TextAttributes red;
         red.font = Font{QStringLiteral("DejaVuSans"), 14};
         red.foregroundColor = Color::colorWithCalibratedRed(1, 0, 0);
         o->setExample(AttributedString(QStringLiteral("Monday"), red));
         return std::shared_ptr<VekObject>(o);
     },
     "class bounds note noShadow formatType formatAlign format example"},
    // A small generated picture, tinted, with a special operation; images have no own shadow.
    {"image",
     [] {
         auto o = VekObjImage::create();
         QImage pixels(6, 4, QImage::Format_ARGB32);
         for (int y = 0; y < 4; ++y)
             for (int x = 0; x < 6; ++x)
                 pixels.setPixelColor(x, y, QColor(40 * x, 60 * y, 200, 255 - 30 * x));
         o->setImage(Image(pixels));
         setCommonAttributes(*o, true, false, 0);
         o->setCompositeOperation(8);
         o->setColorizeWith(Color::colorWithCalibratedRed(0.2f, 0.6f, 0.9f));
         return std::shared_ptr<VekObject>(o);
     },
     "class bounds repeatType repeatStart repeatEnd note groupID anchorName groupWithNext simpleClip exclusive "
     "noShadow fill fillRule fillAlpha fillColor gradType gradRotate gradFlip gradCenter "
     "gradColorProportion gradColors stroke strokeColor flippedH flippedV rotation skewX skewY image compOp overcolor"},
    // A 2 x 2 table with a filled cell and a cell text; tables have no own shadow.
    {"table",
     [] {
         ensureGuiApp();   // the cell text is counted
         auto o = VekObjGrid::create();
         o->setBounds(Rect(15, 25, 120, 40));
         o->setupOnCurrentCondition();
         o->setFillColor(Color::colorWithCalibratedRed(0.9f, 0.9f, 0.7f));
         o->setDrawLineH(0);
         const AttributedString text(QStringLiteral("cell"), TextAttributes{});
         PropertyList cell = PropertyList::dictionary();
         cell.insert("text", PropertyList::fromData(RTFFromRange(text, {0, text.length()})));
         cell.insert("color", PropertyList::fromData(archived(Color::colorWithCalibratedRed(0, 1, 0))));
         cell.insert("cellAlign", PropertyList::fromInt(2));
         PropertyList cells = PropertyList::dictionary();
         cells.insert("C1R0", cell);
         o->setCells(cells, false);
         return std::shared_ptr<VekObject>(o);
     },
     "class bounds note noShadow fill fillColor gridColor drawLineH drawLineV cells rows rowOrder columns columnOrder"},
    // Two styled runs, a link and an anchor, a narrow padding and hyphenation.
    {"text box",
     [] {
         ensureGuiApp();   // the text is measured
         auto o = VekObjText::create();
         TextAttributes plain;
         plain.font = Font{QStringLiteral("DejaVuSans"), 12};
         AttributedString text(QStringLiteral("Styled text with a link and an anchor \u00fc"), plain);
         TextAttributes bold;
         bold.font = Font{QStringLiteral("DejaVuSans-Bold"), 14};
         bold.foregroundColor = Color::colorWithCalibratedRed(0.8f, 0.1f, 0.1f);
         text.addAttributes(bold, {0, 6});
         TextAttributes link;
         link.link = QStringLiteral("https://example.org/a");
         link.underlineStyle = UnderlineStyleSingle;
         text.addAttributes(link, {19, 4});
         TextAttributes anchor;
         anchor.anchor = QStringLiteral("#there");
         text.addAttributes(anchor, {31, 6});
         o->setContents(text);
         setCommonAttributes(*o, true, false, 0);
         o->setTCPadding(3);
         o->setHyphenFactor(0.5f);
         return std::shared_ptr<VekObject>(o);
     },
     // The object's anchor name lives in the text (the "anchors" key), not in "anchorName".
     "class bounds repeatType repeatStart repeatEnd note groupID groupWithNext simpleClip exclusive "
     "noShadow fill fillRule fillAlpha fillColor gradType gradRotate gradFlip gradCenter gradColorProportion "
     "gradColors flippedH flippedV rotation skewX skewY attruns anchors text tcPadding hyphenFactor",
     true},
};

// The ways a dictionary travels: as it is, through the text form, through the archive.
struct Transport {
    const char *name;
    std::function<PropertyList(const PropertyList &)> carry;
};

const Transport Transports[] = {
    {"as is", [](const PropertyList &d) { return d; }},
    {"text form", [](const PropertyList &d) { return propertyListFromText(textPropertyListData(d)); }},
    {"archive",
     [](const PropertyList &d) {
         const auto data = archivedDataWithRootObject(d);
         EXPECT_TRUE(data) << data.error.toStdString();
         return data ? unarchivePropertyListWithData(*data.value).value.value_or(PropertyList()) : PropertyList();
     }},
};

TEST(VekObjectDictionary, RoundTripKeepsEveryValueInEveryForm)
{
    for (const auto &row : RoundTripCases) {
        const auto original = row.make();
        const PropertyList dict = original->propertyListRepresentation();
        for (const QString &key : QString::fromLatin1(row.keys).split(QLatin1Char(' ')))
            EXPECT_TRUE(dict.contains(key)) << row.name << ": " << key.toStdString();
        for (const auto &transport : Transports) {
            SCOPED_TRACE(std::string(row.name) + ", " + transport.name);
            const auto back = VekObject::objectWithPropertyListRepresentation(transport.carry(dict));
            ASSERT_TRUE(back);
            EXPECT_EQ(back->className(), original->className());
            const PropertyList again = back->propertyListRepresentation();
            EXPECT_EQ(again, dict) << differingKeys(again, dict);
            // The values themselves, not only what the writer makes of them.
            EXPECT_EQ(back->bounds(), original->bounds());
            EXPECT_EQ(back->repeatEndPage(), original->repeatEndPage());
            EXPECT_EQ(back->storedFillColor(), original->storedFillColor());
            EXPECT_EQ(back->storedStrokeColor(), original->storedStrokeColor());
            EXPECT_EQ(back->gradientCenter(), original->gradientCenter());
            EXPECT_FLOAT_EQ(back->fillAlpha(), original->fillAlpha());
            EXPECT_EQ(back->drawsFill(), original->drawsFill());
            EXPECT_EQ(back->drawsStroke(), original->drawsStroke());
            EXPECT_EQ(back->note(), original->note());
        }
    }
}

TEST(VekObjectDictionary, ThroughTheLastPageIsWrittenAsZeroInADocument)
{
    FakeDocument doc;
    doc.pages = 3;
    auto o = VekObject::create();
    doc.adopt(o);
    o->setRepeatType(3);
    ASSERT_EQ(o->repeatEndPage(), 3);
    const PropertyList dict = o->propertyListRepresentation();
    EXPECT_EQ(dict.value(QStringLiteral("repeatEnd")).intValue(), 0);

    const auto back = VekObject::objectWithPropertyListRepresentation(dict);
    FakeDocument bigger;
    bigger.pages = 5;
    bigger.adopt(back);
    EXPECT_EQ(back->repeatEndPage(), 5);
}

TEST(VekObjectDictionary, ColourEncodings)
{
    auto o = VekObject::create();
    o->setFillColor(Color::colorWithDeviceCyan(0, 1, 1, 0, 1));
    o->setObjStrokeColor(Color::colorWithCalibratedRed(1, 0, 0));

    // Numbers in the text are C-locale whatever the user's locale.
    const std::string oldLocale = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.utf8");
    const PropertyList dict = o->propertyListRepresentation();
    std::setlocale(LC_NUMERIC, oldLocale.c_str());

    EXPECT_EQ(dict.value(QStringLiteral("fillColor")).stringValue(),
              QStringLiteral("0.000000,1.000000,1.000000,0.000000,1.000000"));
    EXPECT_TRUE(dict.value(QStringLiteral("strokeColor")).isData());
    const auto back = VekObject::objectWithPropertyListRepresentation(dict);
    EXPECT_EQ(back->storedFillColor(), Color::colorWithDeviceCyan(0, 1, 1, 0, 1));
    EXPECT_EQ(back->storedStrokeColor(), Color::colorWithCalibratedRed(1, 0, 0));
}

TEST(VekObjectDictionary, GradientBlockOnlyWithOneColourMoreThanProportions)
{
    auto o = VekObject::create();
    o->setGradientType(3, false);
    PropertyList colors = PropertyList::array();
    for (const Color &c : {Color::redColor(), Color::greenColor(), Color::blueColor()})
        colors.append(PropertyList::fromData(archived(c)));
    PropertyList proportions = PropertyList::array();
    for (float p : {0.2f, 0.5f, 0.9f})
        proportions.append(PropertyList::fromFloat(p));
    o->setGradientColorsAndColorRects(colors, proportions);

    const PropertyList dict = o->propertyListRepresentation();
    EXPECT_FALSE(dict.contains(QStringLiteral("gradType")));
    EXPECT_FALSE(dict.contains(QStringLiteral("gradColors")));
    EXPECT_EQ(VekObject::objectWithPropertyListRepresentation(dict)->objGradientType(), 0);
}

// A kind that cannot be transformed, as text and image objects are.
class FixedObject : public VekObject {
public:
    using VekObject::VekObject;
    static std::shared_ptr<FixedObject> create() { return makeObject<FixedObject>(); }
    bool canTransform() const override { return false; }
};

TEST(VekObjectDictionary, ObjectsThatCannotTransformWriteNoTransformKeys)
{
    const auto o = FixedObject::create();
    const PropertyList dict = o->propertyListRepresentation();
    for (const char *key : {"rotation", "skewX", "skewY", "flippedH", "flippedV"})
        EXPECT_FALSE(dict.contains(QLatin1String(key))) << key;
}

// ---- Malformed dictionaries ----

struct MalformedCase {
    const char *name;
    const char *text;   // the dictionary in the text form
    std::function<void(const VekObject &)> check;
};

const MalformedCase MalformedCases[] = {
    {"only class and bounds give the defaults", "{class = VekObject; bounds = \"{{1, 2}, {3, 4}}\";}",
     [](const VekObject &o) {
         EXPECT_EQ(o.bounds(), Rect(1, 2, 3, 4));
         EXPECT_FALSE(o.simpleClip());
         EXPECT_FALSE(o.groupWithNext());
         EXPECT_EQ(o.repeatStartPage(), 1);
         EXPECT_EQ(o.repeatEndPage(), 0);
         EXPECT_EQ(o.note(), QStringLiteral(""));
         EXPECT_FALSE(o.note().isNull());
         EXPECT_TRUE(o.groupID().isNull());
         EXPECT_TRUE(o.drawsStroke());
         EXPECT_FALSE(o.storedFillColor());
         EXPECT_FLOAT_EQ(o.objRotation(), 0);
     }},
    {"repeat end 0 and start -3", "{class = VekObject; repeatType = 3; repeatEnd = 0; repeatStart = -3;}",
     [](const VekObject &o) {
         EXPECT_EQ(o.repeatType(), 3);
         EXPECT_EQ(o.repeatStartPage(), 1);
         EXPECT_EQ(o.repeatEndPage(), 0);
     }},
    {"repeat end before the start moves to it", "{class = VekObject; repeatStart = 6; repeatEnd = 2;}",
     [](const VekObject &o) { EXPECT_EQ(o.repeatEndPage(), 6); }},
    {"absurd repeat type", "{class = VekObject; repeatType = 99;}",
     [](const VekObject &o) { EXPECT_EQ(o.repeatType(), 0); }},
    {"bounds of the wrong kind", "{class = VekObject; bounds = (1, 2, 3, 4);}",
     [](const VekObject &o) { EXPECT_EQ(o.bounds(), Rect(0, 0, 1, 1)); }},
    {"absurd bounds", "{class = VekObject; bounds = \"{{1e30, 2}, {3, 1e40}}\";}",
     [](const VekObject &o) { EXPECT_EQ(o.bounds(), Rect(0, 0, 1, 1)); }},
    {"colour text of three parts", "{class = VekObject; fillColor = \"1,0,0\"; strokeColor = \"a,b\";}",
     [](const VekObject &o) {
         EXPECT_FALSE(o.storedFillColor());
         EXPECT_FALSE(o.storedStrokeColor());
     }},
    {"colour text out of range", "{class = VekObject; fillColor = \"2,-1,0.5,0,1e40\";}",
     [](const VekObject &o) {
         // 1e40 is no finite float: the colour is not taken at all.
         EXPECT_FALSE(o.storedFillColor());
     }},
    {"colour components clamped", "{class = VekObject; strokeColor = \"2,-1,0.5,0,1\";}",
     [](const VekObject &o) { EXPECT_EQ(o.storedStrokeColor(), Color::colorWithDeviceCyan(1, 0, 0.5f, 0, 1)); }},
    {"damaged archives", "{class = VekObject; fillColor = <0badf00d>; path = <01020304>; strokeColor = (1);}",
     [](const VekObject &o) {
         EXPECT_FALSE(o.storedFillColor());
         EXPECT_FALSE(o.pathCreated());
         EXPECT_FALSE(o.storedStrokeColor());
     }},
    {"gradient lists that do not match", "{class = VekObject; gradType = 2; gradColors = (<00>, <01>); "
                                         "gradColorProportion = (0.5, 0.7);}",
     [](const VekObject &o) {
         EXPECT_EQ(o.objGradientType(), 2);
         EXPECT_TRUE(o.heldGradientColors().isAbsent());
         EXPECT_TRUE(o.heldGradientProportions().isAbsent());
     }},
    {"absurd gradient values", "{class = VekObject; gradType = 42; gradRotate = -90; gradCenter = \"{7, -1e40}\";}",
     [](const VekObject &o) {
         EXPECT_EQ(o.objGradientType(), 0);
         EXPECT_FLOAT_EQ(o.gradientRotate(), 270);
         EXPECT_EQ(o.gradientCenter(), Point());   // -1e40 is no finite float
     }},
    {"gradient centre clamped", "{class = VekObject; gradCenter = \"{7, -0.5}\";}",
     [](const VekObject &o) { EXPECT_EQ(o.gradientCenter(), (Point{1, -0.5f})); }},
    {"gradient centre in the text form", "{class = VekObject; gradCenter = \"{0.5, -0.25}\";}",
     [](const VekObject &o) { EXPECT_EQ(o.gradientCenter(), (Point{0.5f, -0.25f})); }},
    {"gradient centre as the description of a point value, as older text files hold it",
     "{class = VekObject; gradCenter = \"NSPoint: {0.5, -0.25}\";}",
     [](const VekObject &o) { EXPECT_EQ(o.gradientCenter(), (Point{0.5f, -0.25f})); }},
    {"absurd transforms", "{class = VekObject; rotation = \"-30.00\"; skewX = 5; skewY = 1e40;}",
     [](const VekObject &o) {
         EXPECT_FLOAT_EQ(o.objRotation(), 330);
         EXPECT_FLOAT_EQ(o.skewX(), 1);
         EXPECT_FLOAT_EQ(o.skewY(), 0);
     }},
    {"flags and texts of the wrong kind", "{class = VekObject; note = (a); groupID = <00>; anchorName = \"#\"; "
                                          "simpleClip = yes; exclusive = (YES); fillAlpha = <00>;}",
     [](const VekObject &o) {
         EXPECT_EQ(o.note(), QStringLiteral(""));
         EXPECT_TRUE(o.groupID().isNull());
         EXPECT_TRUE(o.anchorName().isNull());
         EXPECT_FALSE(o.simpleClip());
         EXPECT_FALSE(o.isExclusive());
         EXPECT_FLOAT_EQ(o.fillAlpha(), 1);
     }},
    {"shadow settings that are no dictionary", "{class = VekObject; shadowValues = \"state\";}",
     [](const VekObject &o) { EXPECT_TRUE(o.indvShadowValues().isAbsent()); }},
};

TEST(VekObjectDictionary, MalformedValuesGiveDefaults)
{
    for (const auto &row : MalformedCases) {
        SCOPED_TRACE(row.name);
        const auto o = VekObject::objectWithPropertyListRepresentation(dictFromText(row.text));
        ASSERT_TRUE(o);
        EXPECT_FALSE(o->isLoadingPropertyList());
        row.check(*o);
    }
}

TEST(VekObjectDictionary, OnlyRegisteredClassesAreMade)
{
    for (const char *text : {"{bounds = \"{{1, 2}, {3, 4}}\";}", "{class = NSObject;}", "{class = VekGroupNode;}",
                             "{class = (VekObject);}", "{class = \"\";}", "(VekObject)", "VekObject"}) {
        EXPECT_FALSE(VekObject::objectWithPropertyListRepresentation(dictFromText(text))) << text;
    }
    EXPECT_FALSE(VekObject::objectWithPropertyListRepresentation(PropertyList()));

    registerObjectClass(QStringLiteral("TestKind"), [] { return VekObject::create(); });
    EXPECT_TRUE(isRegisteredObjectClass(QStringLiteral("TestKind")));
    EXPECT_TRUE(VekObject::objectWithPropertyListRepresentation(dictFromText("{class = TestKind;}")));
}

// ---- Copies ----

TEST(VekObjectDictionary, CopyKeepsTheAttributesButNotTheGroupingOrAnchor)
{
    for (const auto &row : RoundTripCases) {
        SCOPED_TRACE(row.name);
        const auto original = row.make();
        const auto copy = original->copy();
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->className(), original->className());
        EXPECT_TRUE(copy->groupID().isNull());
        EXPECT_TRUE(copy->anchorName().isNull());
        EXPECT_EQ(copy->groupWithNext(), row.copyKeepsLink && original->groupWithNext());

        // The simple clip is not copied either: the copy keeps its kind's default.
        PropertyList expected = original->propertyListRepresentation();
        PropertyList actual = copy->propertyListRepresentation();
        for (const char *key : {"groupID", "anchorName", "groupWithNext", "simpleClip"}) {
            expected.remove(QLatin1String(key));
            actual.remove(QLatin1String(key));
        }
        EXPECT_EQ(actual, expected) << differingKeys(actual, expected);
    }
}

TEST(VekObjectDictionary, CopyOfARepeatingObjectInADocument)
{
    FakeDocument doc;
    doc.pages = 4;
    auto o = VekObject::create();
    doc.adopt(o);
    o->setRepeatType(3);
    o->setRepeatStart(2);
    o->setRepeatEnd(3);
    const auto fixed = o->copy();
    EXPECT_EQ(fixed->repeatStartPage(), 2);
    EXPECT_EQ(fixed->repeatEndPage(), 3);
    EXPECT_EQ(fixed->document(), nullptr);

    o->setRepeatEnd(0);
    EXPECT_EQ(o->copy()->repeatEndPage(), 0);   // still through the last page, wherever it goes
}

} // namespace

TEST(VekObjectDrawing, DrawingAnyKindChangesNeitherItsDictionaryNorTheUndoStack)
{
    ensureGuiApp();
    for (const auto &row : RoundTripCases) {
        SCOPED_TRACE(row.name);
        FakeDocument doc;
        doc.pages = 3;
        doc.canvas.pages = 3;
        const auto object = row.make();
        doc.adopt(object);
        object->setRepeatType(3);
        doc.undo.removeAllActions();
        const PropertyList before = object->propertyListRepresentation();

        QImage pixels(700, 2600, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::white);
        {
            GraphicsContext context(pixels);
            GraphicsContext::Scope scope(context);
            doc.canvas.selected = {object.get()};
            for (bool selected : {false, true}) {
                object->drawInViewIsSelected(&doc.canvas, selected);
                for (int page = 1; page <= 3; ++page)
                    object->drawInViewIsSelectedOnPagePageRect(&doc.canvas, selected, page, doc.canvas.rectForPage(page));
                object->drawInViewInRect(&doc.canvas, object->boundsOnPage(2, doc.canvas.rectForPage(2)));
                object->drawInViewIsSelected(nullptr, selected);
            }
        }
        EXPECT_EQ(object->propertyListRepresentation(), before)
            << differingKeys(object->propertyListRepresentation(), before);
        doc.undo.closeEventGroup();
        EXPECT_FALSE(doc.undo.canUndo());
    }
}

TEST(VekObjectDictionary, HostileNumbersInEachKindsKeysAreRefusedOrClamped)
{
    const PropertyList nan = PropertyList::fromString(QStringLiteral("nan"));
    const PropertyList huge = PropertyList::fromString(QStringLiteral("1e30"));
    const PropertyList bigInt = PropertyList::fromString(QStringLiteral("2147483647"));
    const PropertyList negative = PropertyList::fromString(QStringLiteral("-2147483648"));
    ensureGuiApp();
    for (const auto &row : RoundTripCases) {
        SCOPED_TRACE(row.name);
        const PropertyList good = row.make()->propertyListRepresentation();
        for (const PropertyList &bad : {nan, huge, bigInt, negative}) {
            PropertyList dict = good;
            for (const QString &key : good.keys())
                if (key != QLatin1String("class") && !good.value(key).isData())
                    dict.insert(key, bad);
            const auto object = VekObject::objectWithPropertyListRepresentation(dict);
            ASSERT_TRUE(object);
            const Rect b = object->bounds();
            for (float v : {b.origin.x, b.origin.y, b.size.width, b.size.height})
                EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= 1e9f) << bad.stringValue().toStdString();
            EXPECT_TRUE(std::isfinite(object->lineWidth()) && object->lineWidth() <= 10000);
            EXPECT_TRUE(std::isfinite(object->fillAlpha()) && object->fillAlpha() >= 0 && object->fillAlpha() <= 1);
            EXPECT_TRUE(std::isfinite(object->objRotation()) && object->objRotation() >= 0 && object->objRotation() < 360);
            if (auto path = std::dynamic_pointer_cast<VekObjPath>(object)) {
                EXPECT_GE(path->arrowAngle(), 2);
                EXPECT_LE(path->arrowAngle(), 360);
                EXPECT_TRUE(path->arrowLength() >= 1 && path->arrowLength() <= 10000);
                EXPECT_TRUE(path->startArrow() >= 0 && path->startArrow() <= 1000);
                EXPECT_TRUE(path->clipType() >= 0 && path->clipType() <= 1000);
                EXPECT_TRUE(path->lineDrawPattern() >= 0 && path->lineDrawPattern() <= 1000);
                const Size natural = path->originalSize();
                EXPECT_TRUE(std::isfinite(natural.width) && natural.width >= 0 && natural.width <= 1e9f);
            }
            // It still draws and writes without trouble.
            QImage pixels(200, 200, QImage::Format_ARGB32_Premultiplied);
            GraphicsContext context(pixels);
            GraphicsContext::Scope scope(context);
            object->drawInViewIsSelected(nullptr, false);
            EXPECT_TRUE(object->propertyListRepresentation().isDictionary());
        }
    }
}
