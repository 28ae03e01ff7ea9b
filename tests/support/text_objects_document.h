// A document page full of everything that draws text: plain, turned and clipped text boxes,
// a box whose lines are cut around an exclusive object, two linked boxes, a table with
// text in its cells and text along a curve. The tile and window tests draw it.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_grid_keys.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/text/rtf.h"

#include <QStringList>

namespace text_objects {

inline TextAttributes style(float size, const Color &colour = Color::blackColor())
{
    TextAttributes a;
    a.font = Font{QStringLiteral("Helvetica"), size};
    a.foregroundColor = colour;
    return a;
}

// `count` words of varied length, the same every time.
inline QString words(int count, int seed = 0)
{
    static const QStringList pool{QStringLiteral("layout"), QStringLiteral("of"), QStringLiteral("pages"),
                                  QStringLiteral("with"), QStringLiteral("drawings"), QStringLiteral("and"),
                                  QStringLiteral("text"), QStringLiteral("flowing"), QStringLiteral("through"),
                                  QStringLiteral("linked"), QStringLiteral("boxes"), QStringLiteral("around"),
                                  QStringLiteral("shapes"), QStringLiteral("in"), QStringLiteral("columns")};
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << pool[(i * 7 + seed * 3 + i / 5) % pool.size()];
    return out.join(u' ');
}

inline std::shared_ptr<VekObjText> textBox(VekDocument &doc, const Rect &bounds, const AttributedString &text)
{
    auto box = VekObjText::create();
    box->setBounds(bounds);
    box->setContents(text);
    doc.insertObject(box, 0, false);
    return box;
}

inline std::shared_ptr<VekObjPath> shape(VekDocument &doc, const BezierPath &path, const Color &fill)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setDrawsFill(true);
    o->setDrawsStroke(false);
    doc.insertObject(o, 0, false);
    return o;
}

// Fills the first page (at least 560 x 760 points) of the document.
inline void fillPage(VekDocument &doc)
{
    // Three paragraphs in two sizes and colours, one of them bold and underlined.
    AttributedString body(words(36) + u'\n', style(12));
    AttributedString heading(words(8, 1) + u'\n', style(18, Color::colorWithCalibratedRed(0.6f, 0.1f, 0.1f)));
    TextAttributes bold = style(11);
    bold.font = Font{QStringLiteral("Helvetica-Bold"), 11};
    bold.underlineStyle = 1;
    heading.append(body);
    heading.append(AttributedString(words(40, 2), bold));
    textBox(doc, Rect(30, 30, 250, 230), heading);

    // A turned box.
    auto turned = textBox(doc, Rect(320, 40, 200, 120), AttributedString(words(30, 3), style(13)));
    turned->setRotation(20, Point{420, 100}, false);

    // Lines cut around an exclusive square in front of the box.
    textBox(doc, Rect(30, 290, 250, 180), AttributedString(words(90, 4), style(10)));
    auto square = shape(doc, BezierPath::bezierPathWithRect(Rect(110, 330, 70, 60)),
                        Color::colorWithCalibratedRed(0.2f, 0.5f, 0.8f, 0.7f));
    square->setExclusive(true);

    // Text inside an oval clip shape behind its box.
    auto oval = VekObjPath::create();
    oval->setBezierPath(BezierPath::bezierPathWithOvalInRect(Rect(320, 200, 220, 160)));
    oval->setBounds(Rect(320, 200, 220, 160));
    oval->setDrawsStroke(false);
    oval->simplySetAsClip(1, nullptr);
    doc.insertObject(oval, 0, false);
    textBox(doc, Rect(320, 200, 220, 160), AttributedString(words(70, 5), style(11)));

    // Two linked boxes: the front one flows into the one behind it.
    auto second = textBox(doc, Rect(320, 400, 220, 90), AttributedString(QStringLiteral(" "), style(11)));
    auto first = textBox(doc, Rect(320, 520, 220, 70), AttributedString(words(80, 6), style(11)));
    first->setGroupWithNext(true);

    // A table of two columns and two rows with text in each cell.
    auto table = VekObjGrid::create();
    table->setBounds(Rect(30, 500, 260, 100));
    table->setupOnCurrentCondition();
    PropertyList cells = PropertyList::dictionary();
    for (int column = 0; column < table->numberOfGridColumns(); ++column)
        for (int row = 0; row < table->numberOfGridRows(); ++row) {
            PropertyList record = PropertyList::dictionary();
            const AttributedString text(words(10, column * 2 + row), style(10));
            record.insert(CellTextKey, PropertyList::fromData(RTFFromRange(text, {0, text.length()})));
            cells.insert(table->cellIDOfColumn(column, row), record);
        }
    table->setCells(cells, false);
    doc.insertObject(table, 0, false);

    // Text along a curve.
    BezierPath curve;
    curve.moveToPoint({40, 700});
    curve.curveToPoint({520, 690}, {200, 600}, {360, 780});
    auto along = VekObjPath::create();
    along->setBezierPath(curve);
    along->setBounds(curve.bounds());
    along->setDrawsFill(false);
    along->setObjLineWidth(1);
    along->setAttStringForPath(AttributedString(words(14, 7), style(14, Color::colorWithCalibratedRed(0.1f, 0.4f, 0.2f))));
    doc.insertObject(along, 0, false);
}

} // namespace text_objects
