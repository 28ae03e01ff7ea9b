// Archiving attributed strings and their attribute values through the typedstream coders.
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archiving.h"
#include "platform/text/attributed_string.h"
#include "platform/text/text_archiving.h"

#include <gtest/gtest.h>

namespace {

void registerOnce()
{
    static bool done = (registerTextCoders(ArchiveCoderRegistry::shared()), true);
    (void)done;
}

AttributedString sample()
{
    TextAttributes a;
    a.font = Font{QStringLiteral("Helvetica"), 12.5f};
    ParagraphStyle p;
    p.alignment = TextAlignment::Center;
    p.headIndent = 7;
    p.hyphenationFactor = 0.5f;
    p.tabStops = {{TextTabType::Decimal, 36}, {TextTabType::Right, 99.5f}};
    a.paragraphStyle = p;
    AttributedString s(QStringLiteral("Styled text \U0001F600 with everything\uFFFC"), a);
    TextAttributes b = a;
    b.foregroundColor = Color::colorWithDeviceCyan(0.1f, 0.2f, 0.3f, 0.4f, 0.5f);
    b.backgroundColor = Color::colorWithCalibratedWhite(0.25f);
    b.underlineStyle = UnderlineStyleDouble | UnderlinePatternDash;
    b.underlineColor = Color::redColor();
    b.strikethroughStyle = UnderlineStyleSingle;
    b.strikethroughColor = Color::blueColor();
    b.strokeWidth = -2.5f;
    b.strokeColor = Color::greenColor();
    b.obliqueness = 0.2f;
    b.baselineOffset = -1.5f;
    b.kerning = 0;
    b.link = QStringLiteral("https://example.org");
    b.anchor = QStringLiteral("#here");
    s.setAttributes(b, {7, 6});
    TextAttributes c = a;
    c.attachment = TextAttachment{QStringLiteral("a.png"), QByteArray("\x89PNG\0data", 9)};
    s.setAttributes(c, {s.length() - 1, 1});
    return s;
}

} // namespace

TEST(TextArchiving, AttributedStringRoundTrip)
{
    registerOnce();
    AttributedString text = sample();
    auto data = archivedDataWithRootObject(std::any(text));
    ASSERT_TRUE(data) << data.error.toStdString();
    auto back = unarchiveObjectWithData(*data.value);
    ASSERT_TRUE(back) << back.error.toStdString();
    const auto *decoded = std::any_cast<AttributedString>(&*back.value);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(*decoded, text);

    auto empty = unarchiveObjectWithData(*archivedDataWithRootObject(std::any(AttributedString())).value);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(std::any_cast<AttributedString>(&*empty.value)->isEmpty());
}

TEST(TextArchiving, DamagedArchivesFailWithoutCrashing)
{
    registerOnce();
    QByteArray data = *archivedDataWithRootObject(std::any(sample())).value;
    for (int cut = 0; cut < data.size(); cut += 3) {
        auto back = unarchiveObjectWithData(data.left(cut));
        EXPECT_FALSE(back && std::any_cast<AttributedString>(&*back.value)
                     && std::any_cast<AttributedString>(&*back.value)->length() > sample().length());
    }
    for (int i = 0; i < data.size(); i += 5) {
        QByteArray bad = data;
        bad[i] = char(bad[i] ^ 0x5A);
        unarchiveObjectWithData(bad);   // any answer, no crash
    }
}
