// A table inside a document: both stored forms and the clipboard form keep every cell's
// text and attributes.
#include "document/vek_document.h"

#include "model/vek_obj_grid.h"
#include "platform/foundation/archiving.h"
#include "platform/text/rtf.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

PropertyList cellRecord(const AttributedString &text, std::optional<Color> background, int align)
{
    PropertyList record = PropertyList::dictionary();
    record.insert("text", PropertyList::fromData(RTFFromRange(text, {0, text.length()})));
    if (background)
        record.insert("color", PropertyList::fromData(*archivedDataWithRootObject(*background).value));
    record.insert("cellAlign", PropertyList::fromInt(align));
    return record;
}

std::shared_ptr<VekObjGrid> styledTable()
{
    auto table = VekObjGrid::create();
    table->setBounds(Rect(30, 40, 240, 60));
    table->setupOnCurrentCondition();   // 2 x 2
    TextAttributes bold;
    bold.font = Font{QStringLiteral("Helvetica-Bold"), 14};
    bold.foregroundColor = Color::colorWithCalibratedRed(0.8f, 0.1f, 0.1f);
    ParagraphStyle centred;
    centred.alignment = TextAlignment::Center;
    bold.paragraphStyle = centred;
    AttributedString mixed(QStringLiteral("Größe "), bold);
    TextAttributes plain;
    plain.font = Font{QStringLiteral("Times-Roman"), 9};
    mixed.append(AttributedString(QStringLiteral("and plain"), plain));
    PropertyList cells = PropertyList::dictionary();
    cells.insert("C0R0", cellRecord(mixed, Color::colorWithCalibratedRed(1, 1, 0.5f), 2));
    cells.insert("C1R1", cellRecord(AttributedString(QStringLiteral("x"), plain), std::nullopt, 0));
    table->setCells(cells, false);
    table->contentsDidChange();
    return table;
}

void expectSameCells(const VekObjGrid &a, const VekObjGrid &b)
{
    EXPECT_EQ(a.cells(), b.cells());
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 2; ++row)
            EXPECT_EQ(a.textOfColumn(column, row), b.textOfColumn(column, row)) << column << "," << row;
    EXPECT_EQ(a.columns(), b.columns());
    EXPECT_EQ(a.rowOrder(), b.rowOrder());
    EXPECT_EQ(a.wordCount(), b.wordCount());
}

} // namespace

TEST(TableInDocument, BothStoredFormsAndTheClipboardKeepEveryCell)
{
    ensureGuiApp();
    VekDocument doc;
    const auto table = styledTable();
    doc.insertObject(table, 0, false);

    for (const bool textForm : {false, true}) {
        SCOPED_TRACE(textForm ? "text form" : "archive");
        VekDocument back;
        DocumentError error;
        ASSERT_TRUE(back.readFromData(doc.dataOfDocument(textForm), &error));
        ASSERT_EQ(back.objects().size(), 1u);
        const auto read = std::dynamic_pointer_cast<VekObjGrid>(back.objects()[0]);
        ASSERT_TRUE(read);
        expectSameCells(*table, *read);
    }

    const QByteArray clip = doc.vekDocumentDataForObjects({table}, std::nullopt, false, false);
    DocumentError error;
    const auto objects = VekDocument::objectsFromVekDocumentDictionary(VekDocument::vekDocumentDictionaryFromData(clip, &error));
    ASSERT_EQ(objects.size(), 1u);
    const auto pasted = std::dynamic_pointer_cast<VekObjGrid>(objects[0]);
    ASSERT_TRUE(pasted);
    expectSameCells(*table, *pasted);
    const TextAttributes first = pasted->textOfColumn(0, 0)->attributesAt(0);
    EXPECT_EQ(first.font, (Font{QStringLiteral("Helvetica-Bold"), 14}));
    EXPECT_EQ(first.paragraphStyle->alignment, TextAlignment::Center);
    EXPECT_EQ(pasted->textOfColumn(0, 0)->attributesAt(8).font, (Font{QStringLiteral("Times-Roman"), 9}));
}
