// The predecessor's documents: text entries become text boxes and a resolution below 72
// reads as 72.
#include "document/vek_document.h"
#include "model/vek_obj_text.h"
#include "tests/support/test_apps.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace {

PropertyList entry(const QString &rect, const QByteArray &rtf)
{
    PropertyList e = PropertyList::array();
    e.append(PropertyList::fromData(QByteArray()));
    e.append(PropertyList(rect));
    e.append(PropertyList::dictionary());
    e.append(PropertyList::fromData(rtf));
    return e;
}

} // namespace

TEST(PredecessorImport, TextEntriesBecomeTextBoxesAroundTheirRectangle)
{
    ensureApp<QGuiApplication>();
    PropertyList objects = PropertyList::dictionary();
    objects.insert(QStringLiteral("a"), entry(QStringLiteral("{{20, 600}, {200, 40}}"),
                                              QByteArray("{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0 Helvetica;}}\\f0\\fs24 "
                                                         "Hello old world}")));
    // An entry whose RTF holds no text keeps its (missing) path: nothing is made of it.
    objects.insert(QStringLiteral("b"), entry(QStringLiteral("{{0, 0}, {10, 10}}"), QByteArray("{\\rtf1 }")));
    PropertyList contents = PropertyList::dictionary();
    contents.insert(QStringLiteral("QMObjectInfo"), objects);

    VekDocument document;
    document.setDrawAreaSizePerPage({480, 728});
    document.readinQomtContents(contents);
    ASSERT_EQ(document.objects().size(), 1u);
    const auto *box = dynamic_cast<VekObjText *>(document.objects().front().get());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->contents().string(), QStringLiteral("Hello old world"));
    // y up from the page's bottom becomes y down from its top; the box is 5 points larger
    // on every side.
    EXPECT_EQ(box->bounds(), Rect(15, 728 - 600 - 40 - 5, 210, 50));
}

TEST(PredecessorImport, AResolutionBelow72ReadsAs72)
{
    ensureApp<QGuiApplication>();
    for (const auto &[stored, read] : std::vector<std::pair<double, int>>{{1, 72}, {50, 72}, {150, 150}}) {
        PropertyList print = PropertyList::dictionary();
        print.insert(QStringLiteral("piRes"), PropertyList::fromDouble(stored));
        PropertyList contents = PropertyList::dictionary();
        contents.insert(QStringLiteral("printInfo"), print);
        VekDocument document;
        document.readinQomtContents(contents);
        EXPECT_EQ(document.resolution(), read) << stored;
    }
}
