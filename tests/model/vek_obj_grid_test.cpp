// The table's model: building a grid, identifiers and keys, geometry, setters with undo,
// word counts and plain text, the dictionary form (also damaged) and drawing.
#include "grid_fixture.h"

#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/text/rtf.h"

#include <QImage>

namespace {

QByteArray rtf(const QString &s, const TextAttributes &a = {})
{
    const AttributedString text(s, a);
    return RTFFromRange(text, {0, text.length()});
}

PropertyList cellWithText(const QString &s)
{
    PropertyList record = PropertyList::dictionary();
    record.insert(CellTextKey, PropertyList::fromData(rtf(s)));
    return record;
}

} // namespace

using GridModelTest = GridTest;

TEST_F(GridModelTest, ANewTableGetsTheHalfPointEdgesOfTheToolCounts)
{
    shell.columns = 3;
    shell.rows = 2;
    auto table = VekObjGrid::create();
    EXPECT_EQ(table->numberOfGridColumns(), 0);
    EXPECT_EQ(table->note(), QStringLiteral("G"));
    EXPECT_TRUE(table->noShadow());
    EXPECT_FALSE(table->drawsStroke());
    table->setBounds(Rect(0, 0, 200, 60));
    table->setupOnCurrentCondition();

    EXPECT_EQ(table->columnOrder(), (QStringList{"C0", "C1", "C2"}));
    EXPECT_EQ(table->rowOrder(), (QStringList{"R0", "R1"}));
    const float origins[] = {0.5f, 66.5f, 133.5f};
    for (int i = 0; i < 3; ++i) {
        const PropertyList record = table->columns().value(table->columnOrder()[i]);
        EXPECT_FLOAT_EQ(record.value(OriginXKey).floatValue(), origins[i]);
        EXPECT_FLOAT_EQ(record.value(WidthKey).floatValue(), 200.0f / 3);
    }
    EXPECT_FLOAT_EQ(table->rows().value("R1").value(OriginYKey).floatValue(), 30.5f);
    EXPECT_FLOAT_EQ(table->rows().value("R1").value(HeightKey).floatValue(), 30.0f);
    EXPECT_EQ(table->cells().count(), 0);
    EXPECT_EQ(table->wordCount(), 0);
}

TEST_F(GridModelTest, CreationByMouseBuildsTheGridOnce)
{
    auto table = VekObjGrid::create();
    doc.adopt(table);
    doc.canvas.events.drag({110, 60});
    doc.canvas.events.up({210, 110});
    ASSERT_TRUE(table->createWithEvent(MouseEvent{EventType::LeftMouseDown, {10, 10}}, &doc.canvas));
    EXPECT_EQ(table->numberOfGridColumns(), 4);
    EXPECT_FLOAT_EQ(table->rows().value("R2").value(HeightKey).floatValue(), table->bounds().height() / 3);
    table->setupOnCurrentCondition();   // the canvas may ask again: nothing more is added
    EXPECT_EQ(table->numberOfGridColumns(), 4);
    EXPECT_EQ(table->numberOfGridRows(), 3);
}

TEST_F(GridModelTest, IdentifiersAreReusedAndKeysFollowTheOrders)
{
    auto table = makeTable();
    table->setColumnOrder({"C0", "C2", "C3"}, true);
    EXPECT_EQ(table->newColumnID(), QStringLiteral("C1"));
    table->setColumnOrder({"C0", "C2", "C1"}, true);
    EXPECT_EQ(table->cellIDOfColumn(1, 0), QStringLiteral("C2R0"));
    int column = -1, row = -1;
    EXPECT_TRUE(table->positionOfCell("C1R2", &column, &row));
    EXPECT_EQ(column, 2);
    EXPECT_EQ(row, 2);

    // Out of range: no key, no rectangle, no position, never a record.
    EXPECT_TRUE(table->cellIDOfColumn(3, 0).isNull());
    EXPECT_TRUE(table->cellIDOfColumn(0, -1).isNull());
    EXPECT_EQ(table->rectOfGridColumn(7), Rect());
    EXPECT_EQ(table->rectOfGridRow(-1), Rect());
    for (const char *key : {"C3R0", "C0R9", "R0", "C0", "", "C12R12"})
        EXPECT_FALSE(table->positionOfCell(QString::fromLatin1(key), nullptr, nullptr)) << key;
    EXPECT_FALSE(table->textOfColumn(9, 9));
}

TEST_F(GridModelTest, HitTestsUseTheStoredEdges)
{
    shell.columns = 3;
    shell.rows = 2;
    auto table = makeTable(Rect(0, 0, 300, 60));
    EXPECT_EQ(table->rectOfGridColumn(1), Rect(100.5f, 0, 100, 60));
    // The last row pokes half a point past the bounds, which the column stops at.
    EXPECT_EQ(table->cellFrameOfColumn(1, 1), Rect(100.5f, 30.5f, 100, 29.5f));
    // On the common edge the right-hand column answers; before the first edge none.
    EXPECT_EQ(table->columnAtPoint({100.5f, 10}), 1);
    EXPECT_EQ(table->columnAtPoint({0.2f, 10}), -1);
    EXPECT_EQ(table->rowAtPoint({10, 30.5f}), 1);
    EXPECT_EQ(table->rowAtPoint({10, 90}), -1);
}

TEST_F(GridModelTest, SettersRegisterUndoAndRedo)
{
    auto table = makeTable();
    const Color red = Color::colorWithCalibratedRed(1, 0, 0);
    const Color before = table->gridColor();
    table->setGridColor(red);
    doc.undo.closeEventGroup();
    table->setGridColor(red);   // the colour already held: nothing to undo
    doc.undo.closeEventGroup();
    table->setDrawLineH(0);
    doc.undo.closeEventGroup();

    doc.undo.undo();
    EXPECT_EQ(table->drawLineH(), 1);
    doc.undo.undo();
    EXPECT_EQ(table->gridColor(), before);
    EXPECT_FALSE(doc.undo.canUndo());
    doc.undo.redo();
    EXPECT_EQ(table->gridColor(), red);

    // A container setter's undo puts the old container back, and its redo the new one.
    PropertyList cells = PropertyList::dictionary();
    cells.insert("C0R0", cellWithText("one two"));
    table->setCells(cells, true);
    doc.undo.closeEventGroup();
    EXPECT_EQ(table->wordCount(), 2);
    doc.undo.undo();
    EXPECT_EQ(table->cells().count(), 0);
    EXPECT_EQ(table->wordCount(), 0);
    doc.undo.redo();
    EXPECT_EQ(text(*table, 0, 0), QStringLiteral("one two"));
}

TEST_F(GridModelTest, WordCountNotifiesOnlyWhenItChanges)
{
    auto table = makeTable();
    int posted = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        nullptr, VekObjectWordcountDidChangeNotification, table.get(), [&](const Notification &) { ++posted; });
    PropertyList cells = PropertyList::dictionary();
    cells.insert("C0R0", cellWithText("three little words"));
    table->setCells(cells, true);
    cells.insert("C1R0", cellWithText(""));
    table->setCells(cells, true);
    NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(table->wordCount(), 3);
    EXPECT_EQ(posted, 1);
}

TEST_F(GridModelTest, PlainTextHasTabsAndLineFeedsForEveryCell)
{
    shell.columns = 2;
    shell.rows = 2;
    auto table = makeTable();
    EXPECT_FALSE(table->tableToString());
    PropertyList cells = PropertyList::dictionary();
    cells.insert("C0R0", cellWithText("top"));
    cells.insert("C1R1", cellWithText("bottom"));
    table->setCells(cells, false);
    EXPECT_EQ(table->tableToString()->string(), QStringLiteral("top\t\n\tbottom"));

    const PropertyList info = table->textInfo();
    ASSERT_EQ(info.count(), 2);
    EXPECT_EQ(info.at(0).at(4).stringValue(), QStringLiteral("C0R0"));
}

// ---- Dictionary form ----

class GridDictionaryTest : public GridTest {
protected:
    // A 3 x 2 table with borders, a coloured cell, styled and aligned texts.
    std::shared_ptr<VekObjGrid> richTable()
    {
        shell.columns = 3;
        shell.rows = 2;
        auto table = makeTable(Rect(20, 30, 300, 80));
        table->setGridColor(Color::colorWithCalibratedRed(0.2f, 0.3f, 0.9f));
        table->setDrawLineV(0);
        clickCell(*table, 0, 0);
        type(*table, "Straße €");
        pressKey(*table, Qt::Key_Tab);
        type(*table, "second");
        pressKey(*table, Qt::Key_Return);
        selectColumnByStrip(*table, 1);
        table->setLineType(1, 1);
        table->applyFontToSelectedCells("Helvetica-Bold");
        table->applyAlignmentToSelectedCells(2);
        table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 1, 0));
        table->endEditingInView(&doc.canvas);
        return table;
    }
};

TEST_F(GridDictionaryTest, EveryCellSurvivesBothStoredFormsAndTheCopy)
{
    const auto table = richTable();
    ASSERT_EQ(text(*table, 0, 0), QStringLiteral("Straße €"));
    const PropertyList dict = table->propertyListRepresentation();
    for (const char *key : {"gridColor", "drawLineH", "drawLineV", "cells", "rows", "rowOrder", "columns", "columnOrder"})
        EXPECT_TRUE(dict.contains(QLatin1String(key))) << key;

    const std::pair<const char *, PropertyList> carried[] = {
        {"text form", propertyListFromText(textPropertyListData(dict))},
        {"archive", unarchivePropertyListWithData(*archivedDataWithRootObject(dict).value).value.value_or(PropertyList())},
    };
    for (const auto &[name, carriedDict] : carried) {
        SCOPED_TRACE(name);
        const auto back = std::dynamic_pointer_cast<VekObjGrid>(VekObject::objectWithPropertyListRepresentation(carriedDict));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->propertyListRepresentation(), dict);
        EXPECT_EQ(back->gridColor(), table->gridColor());
        EXPECT_EQ(back->drawLineV(), 0);
        EXPECT_EQ(back->cells(), table->cells());
        EXPECT_EQ(back->textOfColumn(1, 0), table->textOfColumn(1, 0));
        EXPECT_EQ(back->wordCount(), table->wordCount());
    }
    const auto copy = std::static_pointer_cast<VekObjGrid>(table->copy());
    EXPECT_EQ(copy->cells(), table->cells());
    EXPECT_EQ(copy->columns(), table->columns());
    EXPECT_EQ(copy->textOfColumn(1, 0)->attributesAt(0).font->name, QStringLiteral("Helvetica-Bold"));
    EXPECT_EQ(copy->rowOrder(), table->rowOrder());
}

TEST_F(GridDictionaryTest, DamagedDictionariesLoadAsRepairedTables)
{
    const PropertyList good = richTable()->propertyListRepresentation();
    struct Case {
        const char *name;
        std::function<void(PropertyList &)> damage;
        int columns, rows, cells;
    };
    PropertyList hugeOrder = PropertyList::array();
    PropertyList hugeColumns = PropertyList::dictionary();
    for (int i = 0; i < 5000; ++i) {
        hugeOrder.append(QStringLiteral("C%1").arg(i));
        hugeColumns.insert(QStringLiteral("C%1").arg(i), gridRecord(OriginXKey, float(i), WidthKey, 1));
    }
    const Case cases[] = {
        {"no cells", [](PropertyList &d) { d.remove("cells"); }, 3, 2, 0},
        {"cells not a dictionary", [](PropertyList &d) { d.insert("cells", "garbage"); }, 3, 2, 0},
        {"a column without its record",
         [](PropertyList &d) {
             PropertyList columns = d.value("columns");
             columns.remove("C1");
             d.insert("columns", columns);
         },
         2, 2, 1},
        {"order names unknown and repeated ids",
         [](PropertyList &d) { d.insert("rowOrder", PropertyList::fromStringList({"R0", "R0", "R7", "X", "R1"})); }, 3, 2,
         3},
        {"order of the wrong kind", [](PropertyList &d) { d.insert("columnOrder", PropertyList::fromInt(3)); }, 0, 2, 0},
        {"records with bad numbers",
         [](PropertyList &d) {
             PropertyList rows = d.value("rows");
             rows.insert("R1", gridRecord(OriginYKey, std::nanf(""), HeightKey, 10));
             PropertyList columns = d.value("columns");
             columns.insert("C0", gridRecord(OriginXKey, 0, WidthKey, -5));
             d.insert("rows", rows);
             d.insert("columns", columns);
         },
         2, 1, 1},
        {"cells past the last column and row",
         [](PropertyList &d) {
             PropertyList cells = d.value("cells");
             cells.insert("C9R0", cellWithText("ghost"));
             cells.insert("C0R9", cellWithText("ghost"));
             cells.insert("C0R1", PropertyList::fromInt(4));
             d.insert("cells", cells);
         },
         3, 2, 3},
        {"a huge count",
         [&](PropertyList &d) {
             d.insert("columnOrder", hugeOrder);
             d.insert("columns", hugeColumns);
         },
         VekObjGrid::MaxGridLines, 2, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PropertyList dict = good;
        c.damage(dict);
        const auto table = std::dynamic_pointer_cast<VekObjGrid>(VekObject::objectWithPropertyListRepresentation(dict));
        ASSERT_TRUE(table);
        EXPECT_EQ(table->numberOfGridColumns(), c.columns);
        EXPECT_EQ(table->numberOfGridRows(), c.rows);
        EXPECT_EQ(table->cells().count(), c.cells);
        // Every order entry has a record and every cell a place: queries and drawing hold.
        for (int i = 0; i < table->numberOfGridColumns(); ++i)
            EXPECT_NE(table->rectOfGridColumn(i), Rect());
        for (const QString &key : table->cells().keys())
            EXPECT_TRUE(table->positionOfCell(key, nullptr, nullptr)) << key.toStdString();
        QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        table->drawInViewIsSelected(nullptr, false);
    }
}

// ---- Drawing ----

class GridDrawingTest : public GridTest {
protected:
    struct Recorded {
        RecordingPaintDevice device{QSize(600, 400)};
        GraphicsContext context{&device, GraphicsContext::Output::Bitmap};
        GraphicsContext::Scope scope{context};
        std::vector<RecordedDraw> strokes() const
        {
            std::vector<RecordedDraw> out;
            for (const RecordedDraw &d : device.draws())
                if (d.isStroke())
                    out.push_back(d);
            return out;
        }
        std::vector<RecordedDraw> fills() const
        {
            std::vector<RecordedDraw> out;
            for (const RecordedDraw &d : device.draws())
                if (d.isFill())
                    out.push_back(d);
            return out;
        }
    };

    // The x positions of the vertical lines of a stroked path, and the y of the horizontal ones.
    static std::pair<std::vector<double>, std::vector<double>> linePositions(const QPainterPath &path)
    {
        std::vector<double> xs, ys;
        for (int i = 0; i + 1 < path.elementCount(); i += 2) {
            const auto a = path.elementAt(i), b = path.elementAt(i + 1);
            if (a.x == b.x)
                xs.push_back(a.x);
            else
                ys.push_back(a.y);
        }
        return {xs, ys};
    }
};

TEST_F(GridDrawingTest, GridAndBorderLinesLieOnTheirPositions)
{
    shell.columns = 3;
    shell.rows = 2;
    auto table = makeTable(Rect(10.7f, 20.2f, 300, 60));
    selectColumnByStrip(*table, 0);
    table->setLineType(1, 0);   // left border of the first column
    table->setLineType(1, 1);   // right border
    doc.canvas.toSave = true;   // no selection marks
    Recorded rec;
    table->drawInViewInRect(&doc.canvas, table->bounds());
    const auto strokes = rec.strokes();
    ASSERT_EQ(strokes.size(), 2u);
    const auto [xs, ys] = linePositions(strokes[0].path);
    EXPECT_EQ(xs, (std::vector<double>{10.5, 110.5, 210.5, 310.5}));
    EXPECT_EQ(ys, (std::vector<double>{20.5, 50.5, 80.5}));
    EXPECT_EQ(strokes[0].pen.widthF(), 0.0);   // hairlines on screen
    const auto [bx, by] = linePositions(strokes[1].path);
    EXPECT_EQ(bx, (std::vector<double>{10.5, 110.0}));   // the right border on a whole point
    EXPECT_TRUE(by.empty());
    EXPECT_EQ(strokes[1].pen.widthF(), 2.0);
}

TEST_F(GridDrawingTest, SwitchesAndOutputsDecideWhatIsDrawn)
{
    auto table = makeTable();
    selectColumnByStrip(*table, 0);
    table->setLineType(1, 0);
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(0, 1, 0));
    table->setFillColor(Color::colorWithCalibratedRed(1, 0, 0));
    doc.canvas.toSave = true;   // no selection marks
    {
        // Vertical lines off: no left border either. PDF: one-point grid lines.
        table->setDrawLineV(0);
        doc.canvas.toPDF = true;
        Recorded rec;
        table->drawInViewInRect(&doc.canvas, table->bounds());
        ASSERT_EQ(rec.strokes().size(), 1u);
        EXPECT_EQ(rec.strokes()[0].pen.widthF(), 1.0);
        EXPECT_TRUE(linePositions(rec.strokes()[0].path).first.empty());
        doc.canvas.toPDF = false;
    }
    {
        // No grid lines at all: no table fill, but the cell backgrounds.
        table->setDrawLineH(0);
        Recorded rec;
        table->drawInViewInRect(&doc.canvas, table->bounds());
        EXPECT_TRUE(rec.strokes().empty());
        EXPECT_EQ(rec.fills().size(), 3u);   // the three cells of the first column
    }
}

TEST_F(GridDrawingTest, MarksAndTheCreationFrame)
{
    auto table = VekObjGrid::create();
    table->setBounds(Rect(10, 10, 100, 50));
    doc.adopt(table);
    doc.canvas.creating = table;
    {
        Recorded rec;
        table->drawInViewIsSelected(&doc.canvas, false);
        ASSERT_EQ(rec.device.draws().size(), 1u);
        EXPECT_EQ(rec.strokes()[0].path.boundingRect(), QRectF(9, 9, 102, 52));
    }
    doc.canvas.creating.reset();
    table->setupOnCurrentCondition();
    doc.canvas.selected = {table.get()};
    const auto ringAround = [&](const Rect &r, bool selected = false) {
        Recorded rec;
        table->drawInViewIsSelected(&doc.canvas, selected);
        const QRectF want = QRectF(r.minX(), r.minY(), r.width(), r.height()).adjusted(-1.5, -1.5, 1.5, 1.5);
        const auto strokes = rec.strokes();
        return std::count_if(strokes.begin(), strokes.end(), [&](const RecordedDraw &d) {
            return d.pen.widthF() == 3.0 && d.path.boundingRect() == want;
        });
    };
    EXPECT_EQ(ringAround(table->bounds()), 1);
    table->startEditingWithEvent(MouseEvent{}, &doc.canvas);
    selectColumnByStrip(*table, 2);
    EXPECT_EQ(ringAround(table->bounds()), 0);
    EXPECT_EQ(ringAround(table->bounds(), true), 0);   // the canvas's selection flag alike
    EXPECT_EQ(ringAround(table->rectOfGridColumn(2)), 1);
}

TEST_F(GridDrawingTest, ADrawnTableMatchesItsGoldenImage)
{
    shell.columns = 3;
    shell.rows = 2;
    auto table = makeTable(Rect(4, 4, 150, 44));
    clickCell(*table, 0, 0);
    type(*table, "Ab");
    pressKey(*table, Qt::Key_Return);
    ASSERT_EQ(text(*table, 0, 0), QStringLiteral("Ab"));
    selectRowByStrip(*table, 1);
    table->setLineType(1, 3);
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(0.6f, 0.8f, 1.0f));
    table->endEditingInView(&doc.canvas);
    doc.canvas.selected.clear();

    for (const auto &[zoom, name] : {std::pair{1, "grid_100.png"}, std::pair{3, "grid_300.png"}}) {
        QImage image(158 * zoom, 52 * zoom, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            GraphicsContext context(image);
            GraphicsContext::Scope scope(context);
            AffineTransform scale;
            scale.scaleBy(zoom);
            context.concat(scale);
            table->drawInViewIsSelected(&doc.canvas, false);
        }
        const QString path = QStringLiteral(VEK_TEST_DATA_DIR "/") + name;
        if (qEnvironmentVariableIsSet("VEK_UPDATE_GOLDEN"))
            image.save(path);
        const QImage golden = QImage(path).convertToFormat(image.format());
        ASSERT_EQ(golden.size(), image.size()) << name;
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixel(x, y) != golden.pixel(x, y);
        EXPECT_LT(double(differing) / (image.width() * image.height()), 0.01) << name;
    }
}
