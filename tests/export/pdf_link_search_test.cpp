// Links of text boxes over a page break: placed where the printed PDF shows their text.
#include "export/pdf_export.h"
#include "export/pdf_links.h"
#include "tests/export/export_fixture.h"

#include "canvas/paper_pages.h"

#include <gtest/gtest.h>

using namespace exportfixture;

namespace {

const QString OneLink = QStringLiteral("http://example.org/one");
const QString CutLink = QStringLiteral("http://example.org/cut");
const QString PhraseLink = QStringLiteral("http://example.org/phrase");

// The fixture with a box from y 160 to 240, over the break between its pages at y 200: "one"
// on its first line (page 1), "cut" on its third line, which the break cuts (the page moves
// the line to the top of the next page), and "phrase" on its fourth line (page 2).
struct CrossingBox : Document {
    CrossingBox()
    {
        add(textBox(Rect(20, 160, 200, 80), QStringLiteral("one line\nand two\nthe cut line\nlinked phrase"),
                    {{QStringLiteral("one"), linkTo(OneLink)},
                     {QStringLiteral("cut"), linkTo(CutLink)},
                     {QStringLiteral("phrase"), linkTo(PhraseLink)}}));
        layout = paperLayoutFor(doc, true);
    }
    PaperLayout layout;
};

const PdfLinkAnnotation *annotationFor(const std::vector<PdfLinkAnnotation> &links, const QString &uri)
{
    for (const PdfLinkAnnotation &link : links)
        if (link.uri == uri)
            return &link;
    return nullptr;
}

Rect toRect(const QRectF &r)
{
    return Rect(float(r.x()), float(r.y()), float(r.width()), float(r.height()));
}

// The top left corner of a rectangle in PDF points (y up).
QPointF topLeftOf(const QRectF &r)
{
    return QPointF(r.left(), r.y() + r.height());
}

// A word printed on a page (index from 0) with its top left at a point of the paper (PDF
// points, y up).
struct Printed {
    int page;
    QString word;
    QPointF topLeft;
};

// Pages of the paper's size showing the words in the fixture's font.
QByteArray printedPages(Size paper, int pages, const std::vector<Printed> &words)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(paper.width, paper.height), QPageSize::Point),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        for (const Printed &p : words)
            if (p.page == page)
                painter.drawText(QRectF(p.topLeft.x(), paper.height - p.topLeft.y(), 400, 40),
                                 Qt::AlignLeft | Qt::AlignTop, p.word);
    }
    painter.end();
    return bytes;
}

} // namespace

TEST(PdfLinkSearch, LinkOfABoxOverAPageBreakLandsOnItsWordAndOtherLinksKeepTheirPlace)
{
    CrossingBox fixture;
    Written out;
    QString error;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek", &error)) << error.toStdString();
    const std::vector<Link> links = linksIn(out.path);
    const double paperHeight = fixture.layout.paper.height;

    auto fileLink = [&](const QString &uri) {
        const auto it = std::find_if(links.begin(), links.end(), [&](const Link &l) { return l.uri == uri; });
        return it == links.end() ? Link() : *it;
    };
    // The printed lines below the break lie lower than the unbroken layout says: the
    // annotation follows the print.
    const QPointF phraseCentre = wordCentres(out.path, 2, paperHeight).value("phrase");
    const Link phrase = fileLink(PhraseLink);
    EXPECT_EQ(phrase.page, 1);
    EXPECT_TRUE(phrase.rect.contains(phraseCentre)) << phrase.rect.y() << " " << phraseCentre.y();
    EXPECT_FALSE(phrase.rect.contains(wordCentres(out.path, 2, paperHeight).value("linked")));
    const std::vector<PdfLinkAnnotation> laidOut = linkAnnotationsFor(fixture.doc, fixture.layout, 1, 2);
    EXPECT_FALSE(annotationFor(laidOut, PhraseLink)->rect.contains(phraseCentre));
    const Link cut = fileLink(CutLink);
    EXPECT_EQ(cut.page, 1);
    EXPECT_TRUE(cut.rect.contains(wordCentres(out.path, 2, paperHeight).value("cut")));
    const Link one = fileLink(OneLink);
    EXPECT_EQ(one.page, 0);
    EXPECT_TRUE(one.rect.contains(wordCentres(out.path, 1, paperHeight).value("one")));

    // The links of a box on one page keep the rectangles of the layout.
    for (const QString &uri : {QStringLiteral("http://example.org/"), QString()}) {
        const PdfLinkAnnotation *expected = annotationFor(laidOut, uri);
        ASSERT_TRUE(expected);
        const auto it = std::find_if(links.begin(), links.end(), [&](const Link &l) { return l.uri == uri; });
        ASSERT_NE(it, links.end());
        EXPECT_EQ(it->page, expected->page);
        EXPECT_NEAR(it->rect.left(), expected->rect.left(), 0.01);
        EXPECT_NEAR(it->rect.top(), expected->rect.top(), 0.01);
        EXPECT_NEAR(it->rect.width(), expected->rect.width(), 0.01);
        EXPECT_NEAR(it->rect.height(), expected->rect.height(), 0.01);
    }
}

TEST(PdfLinkSearch, TakesOnlyMatchesNearTheComputedPlaceAndFollowsCutText)
{
    CrossingBox fixture;
    const PaperLayout &layout = fixture.layout;
    const std::vector<PdfLinkAnnotation> laidOut = linkAnnotationsFor(fixture.doc, layout, 1, 2);
    const QRectF one = annotationFor(laidOut, OneLink)->rect, cut = annotationFor(laidOut, CutLink)->rect;
    ASSERT_EQ(annotationFor(laidOut, OneLink)->page, 0);
    ASSERT_EQ(annotationFor(laidOut, CutLink)->page, 0);
    const float contentTop = layout.paperRectInPdf(1, Rect(0, 0, 0, 0)).minY();
    const float contentBottom = layout.paperRectInPdf(1, Rect(0, layout.page.height, 0, 0)).minY();
    const QPointF filler(300, contentTop - 100);   // keeps a page from being empty

    enum class Expect { Computed, Match, MovedToNextPageTop };
    struct Case {
        const char *name;
        QString uri;
        std::vector<Printed> printed;
        int page;        // of the annotation, from 0
        Expect rect;
    };
    const std::vector<Case> cases = {
        {"at its place", OneLink, {{0, "one", topLeftOf(one)}}, 0, Expect::Match},
        {"30 points lower", OneLink, {{0, "one", topLeftOf(one) - QPointF(0, 30)}, {0, "x", filler}}, 0,
         Expect::Computed},
        {"8 points to the right", OneLink, {{0, "one", topLeftOf(one) + QPointF(one.width() + 8, 0)}}, 0,
         Expect::Computed},
        {"not printed", OneLink, {{0, "x", filler}, {1, "x", filler}}, 0, Expect::Computed},
        {"at the top of the next page", OneLink,
         {{0, "x", filler}, {1, "one", QPointF(one.left(), contentTop + 4)}}, 1, Expect::Match},
        {"on an empty page: the next page's", OneLink, {{1, "one", topLeftOf(one)}}, 1, Expect::Match},
        {"cut off by the bottom margin", CutLink, {{0, "cut", QPointF(cut.left(), contentBottom + 3)}}, 1,
         Expect::MovedToNextPageTop},
        {"mostly above the page's bottom", CutLink, {{0, "cut", QPointF(cut.left(), contentBottom + 11)}}, 0,
         Expect::Match},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = printedPages(layout.paper, 2, c.printed);
        const auto printed = PdfDocument::openData(bytes);
        ASSERT_TRUE(printed);
        const std::vector<PdfLinkAnnotation> links = linkAnnotationsFor(fixture.doc, layout, 1, 2, printed.get());
        const PdfLinkAnnotation *link = annotationFor(links, c.uri);
        ASSERT_TRUE(link);
        EXPECT_EQ(link->page, c.page);
        const PdfLinkAnnotation *computed = annotationFor(laidOut, c.uri);
        const auto match = printed->findText(c.uri.section('/', -1));
        Rect expected = toRect(computed->rect);
        if (c.rect != Expect::Computed) {
            ASSERT_TRUE(match);
            expected = match->bounds;
        }
        if (c.rect == Expect::MovedToNextPageTop)
            expected.origin.y = contentTop - expected.height();
        EXPECT_NEAR(link->rect.left(), expected.minX(), 0.01);
        EXPECT_NEAR(link->rect.top(), expected.minY(), 0.01);
        EXPECT_NEAR(link->rect.width(), expected.width(), 0.01);
        EXPECT_NEAR(link->rect.height(), expected.height(), 0.01);
    }
}
