// The document's anchors: gathered from text runs and named objects whenever asked, so
// that anchors made later are found and those of removed objects are gone.
#include "document/vek_document.h"

#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<VekObjText> textWithAnchor(const QString &text, TextRange anchored, const QString &name)
{
    auto box = VekObjText::create();
    box->setBounds(Rect(20, 20, 200, 60));
    TextAttributes attributes;
    attributes.font = Font{QStringLiteral("Helvetica"), 12};
    AttributedString string(text, attributes);
    string.modifyAttributes(anchored, [&](TextAttributes &a) { a.anchor = name; });
    box->setContents(string);
    return box;
}

} // namespace

TEST(DocumentAnchors, AreGatheredAfreshFromTextRunsAndNamedObjects)
{
    ensureGuiApp();
    VekDocument document;
    EXPECT_TRUE(document.anchorNames().isEmpty());
    EXPECT_TRUE(document.anchorsInView().isAbsent());

    auto text = textWithAnchor(QStringLiteral("one two three"), {4, 3}, QStringLiteral("#two"));
    document.insertObject(text, 0, false);
    auto shape = VekObjPath::create();
    shape->setBezierPath(BezierPath::bezierPathWithRect(Rect(300, 300, 40, 40)));
    shape->setBounds(Rect(300, 300, 40, 40));
    shape->setAnchorName(QStringLiteral("#shape"));
    document.insertObject(shape, 0, false);
    EXPECT_EQ(document.anchorNames(), (QStringList{QStringLiteral("#shape"), QStringLiteral("#two")}));
    EXPECT_EQ(document.anchorInView(QStringLiteral("#shape")), shape->bounds());
    const Rect two = document.anchorInView(QStringLiteral("#two"));
    EXPECT_FALSE(two.isEmpty());
    EXPECT_TRUE(intersectsRect(two, text->bounds()));
    EXPECT_EQ(document.anchorsInView().count(), 2);

    // An anchor that appears after the first request is there at the next one.
    AttributedString changed = text->contents().text();
    changed.modifyAttributes({8, 5}, [](TextAttributes &a) { a.anchor = QStringLiteral("#three"); });
    text->setContents(changed);
    EXPECT_TRUE(document.anchorNames().contains(QStringLiteral("#three")));

    // A removed object takes its anchor along; an unknown name lies nowhere.
    document.removeObject(shape);
    EXPECT_FALSE(document.anchorNames().contains(QStringLiteral("#shape")));
    EXPECT_EQ(document.anchorInView(QStringLiteral("#shape")), Rect());
    EXPECT_EQ(document.anchorInView(QStringLiteral("#nowhere")), Rect());
}
