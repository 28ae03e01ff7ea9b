// The print tab as a user edits it: paper and orientation chosen in the panel change the page
// that the canvas, its rulers and its scroll range show at once; a page centred on its paper
// and a paper fitted to the page reach the exported PDF; undo takes them back.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "canvas/ui/ruler_host.h"
#include "export/pdf_export.h"
#include "model/vek_obj_path.h"
#include "panels/docinfo/document_settings.h"
#include "panels/docinfo/paper_list.h"
#include "panels/docinfo/print_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QImage>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScrollBar>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

void chooseItem(QComboBox *popup, int index)
{
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

// The paper size pdfinfo reports for the file, in points.
QSizeF pdfPaperSize(const QString &pdfInfo)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(pdfInfo);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// Where the dark pixels of the PDF's first page lie, rendered at 72 dots per inch (points).
QRect darkArea(const QString &pdf, const QString &png)
{
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                                   QStringLiteral("-singlefile"), pdf, png});
    const QImage image(png + QStringLiteral(".png"));
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                area |= QRect(x, y, 1, 1);
    return area;
}

struct PageState {
    Rect page;
    double rulerOrigin;
    int scrollRange;
    PrintInfo info;
};

} // namespace

TEST_F(DocInfoWindowTest, PaperAndOrientationChangeTheCanvasAndRulersAndUndoAll)
{
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PrintTab &print = *panel().printTab;
    const auto state = [this] {
        return PageState{view().rectForPage(1), view().rulerHost().rulerOrigin(Qt::Horizontal),
                         view().verticalScrollBar()->maximum(), document().printInfo()};
    };
    const PageState before = state();

    const int a5 = print.pupPaperSizes->findData(QStringLiteral("iso-a5"));
    ASSERT_GE(a5, 0);
    chooseItem(print.pupPaperSizes, a5);
    endPass();
    const Size a5Size = PaperList::shared().paperSizeForPaperName(QStringLiteral("iso-a5"));
    const PrintInfo &info = document().printInfo();
    EXPECT_EQ(info.paperName, QStringLiteral("iso-a5"));
    EXPECT_EQ(print.pupPaperSizes->currentText(), QStringLiteral("A5"));
    EXPECT_NEAR(view().rectForPage(1).width(), a5Size.width - info.leftMargin - info.rightMargin, 1.0);
    EXPECT_NEAR(view().rectForPage(1).height(), a5Size.height - info.topMargin - info.bottomMargin, 1.0);
    const PageState portrait = state();
    EXPECT_NE(portrait.rulerOrigin, before.rulerOrigin);   // a narrower page sits further in

    chooseItem(print.pupOrientation, 1);
    endPass();
    const Rect landscape = view().rectForPage(1);
    EXPECT_GT(landscape.width(), landscape.height());
    EXPECT_NEAR(landscape.width(), a5Size.height - info.leftMargin - info.rightMargin, 1.0);
    EXPECT_NE(state().rulerOrigin, portrait.rulerOrigin);
    EXPECT_EQ(view().rulerHost().rulerOrigin(Qt::Horizontal), view().rulerCanvasOrigin().x());
    EXPECT_LE(state().scrollRange, portrait.scrollRange);
    EXPECT_TRUE(print.txPaperSize->text().startsWith(QString::number(int(std::ceil(a5Size.width)))));

    undo();
    EXPECT_EQ(view().rectForPage(1), portrait.page);
    undo();
    EXPECT_EQ(view().rectForPage(1), before.page);
    EXPECT_EQ(document().printInfo(), before.info);
    EXPECT_EQ(view().rulerHost().rulerOrigin(Qt::Horizontal), before.rulerOrigin);
    redo();
    redo();
    EXPECT_EQ(view().rectForPage(1), landscape);
    EXPECT_EQ(print.pupOrientation->currentIndex(), 1);
}

TEST_F(DocInfoWindowTest, TypedMarginsAndPageSizeAreUndoableAndHeadersNeedAMargin)
{
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PrintTab &print = *panel().printTab;
    const PrintInfo before = document().printInfo();
    typeInto(print.marginL, QStringLiteral("10"));
    endPass();
    EXPECT_EQ(document().printInfo().leftMargin, 10.0f);
    typeInto(print.txDrawAreaW, QStringLiteral("300"));
    endPass();
    EXPECT_NEAR(view().rectForPage(1).width(), 300.0, 0.01);

    // Header and footer printing is offered only while a margin leaves room for it.
    for (VekTextField *margin : {print.marginL, print.marginR, print.marginT, print.marginB}) {
        typeInto(margin, QStringLiteral("0"));
        endPass();
    }
    EXPECT_FALSE(print.optAddBorder->isEnabled());
    EXPECT_FALSE(print.btnEditBorder->isEnabled());
    for (int step = 0; step < 6; ++step)
        undo();
    EXPECT_EQ(document().printInfo(), before);
    EXPECT_TRUE(print.optAddBorder->isEnabled());
}

TEST_F(DocInfoWindowTest, APageCentredOnItsPaperAndAPaperFittedToThePageReachTheExportedPdf)
{
    // A black square at the page's top left corner shows where the page lies on the paper.
    auto square = VekObjPath::create();
    square->setBezierPath(BezierPath::bezierPathWithRect(Rect(0, 0, 50, 50)));
    square->setBounds(Rect(0, 0, 50, 50));
    square->setFillColor(Color::blackColor());
    square->setDrawsFill(true);
    document().insertObject(square, 0, true);
    document().undoManager()->removeAllActions();
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PrintTab &print = *panel().printTab;
    const PrintSettings before = PrintSettings::of(document());
    const auto exported = [this](const QString &name) {
        const QString pdf = path(name + QStringLiteral(".pdf"));
        QString error;
        EXPECT_TRUE(saveAsPdf(document(), pdf, ExportSelection{}, 0, window->displayName(), &error)) << error.toStdString();
        return std::pair(pdfPaperSize(run(QStringLiteral("pdfinfo"), {pdf})), darkArea(pdf, path(name)));
    };

    chooseItem(print.pupPaperSizes, print.pupPaperSizes->findData(QStringLiteral("iso-a5")));
    endPass();
    typeInto(print.txDrawAreaW, QStringLiteral("300"));
    endPass();
    typeInto(print.txDrawAreaH, QStringLiteral("400"));
    endPass();
    EXPECT_EQ(view().rectForPage(1).size, Size(300, 400));
    print.optCenterH->click();
    endPass();
    print.optCenterV->click();
    endPass();
    const PrintInfo &info = document().printInfo();
    EXPECT_NEAR(info.leftMargin, (419.53 - 300) / 2, 0.01);
    EXPECT_EQ(info.leftMargin, info.rightMargin);
    EXPECT_NEAR(info.topMargin, (595.28 - 400) / 2, 0.01);
    const auto [centredPaper, centredSquare] = exported(QStringLiteral("centred"));
    EXPECT_NEAR(centredPaper.width(), 419.53, 0.01);
    EXPECT_NEAR(centredPaper.height(), 595.28, 0.01);
    EXPECT_NEAR(centredSquare.left(), 60, 1);
    EXPECT_NEAR(centredSquare.top(), 98, 1);
    EXPECT_NEAR(centredSquare.width(), 50, 1);

    // The paper fitted to the page: a custom size without a name, the page still centred.
    print.btnAdjustPaperSize->click();
    endPass();
    EXPECT_EQ(info.paperName, QString());
    EXPECT_EQ(info.paperSize, Size(420, 596));
    EXPECT_EQ(print.pupPaperSizes->currentIndex(), -1);
    EXPECT_EQ(print.pupPaperSizes->placeholderText(), QStringLiteral("custom"));
    EXPECT_EQ(print.txPaperSize->text(), QStringLiteral("420 x 596"));
    EXPECT_EQ(view().rectForPage(1).size, Size(300, 400));
    const auto [fittedPaper, fittedSquare] = exported(QStringLiteral("fitted"));
    EXPECT_EQ(fittedPaper, QSizeF(420, 596));
    EXPECT_NEAR(fittedSquare.left(), 60, 1);
    EXPECT_NEAR(fittedSquare.top(), 98, 1);
    const PrintSettings after = PrintSettings::of(document());

    for (int step = 0; step < 6; ++step)
        undo();
    EXPECT_EQ(PrintSettings::of(document()), before);
    EXPECT_EQ(view().rectForPage(1).size, before.drawAreaSize);
    for (int step = 0; step < 6; ++step)
        redo();
    EXPECT_EQ(PrintSettings::of(document()), after);
    EXPECT_EQ(print.txPaperSize->text(), QStringLiteral("420 x 596"));
}

TEST_F(DocInfoWindowTest, ThePrintTabShowsTheCurrentPrintersMinimumMargins)
{
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PaperList &papers = PaperList::shared();
    const QLabel *shown = panel().printTab->txMinMargin;
    // With no printer installed, Qt's margins for printing into PDF files.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(papers.currentPrinter(), QStringLiteral("Print to PDF"));
        EXPECT_TRUE(shown->text().startsWith(QStringLiteral("Minimum margins:\nl:"))) << shown->text().toStdString();
    }

    // The default printer's margins, of its last paper that reported them.
    const std::vector<PrinterPapers> printers = {
        {QStringLiteral("Hall"), {{"iso-a4", {595.28f, 841.89f}, "A4"}}, PaperMargins{5, 5, 5, 5}, false},
        {QStringLiteral("Office"), {{"na-letter", {612, 792}, "Letter"}}, PaperMargins{12.5f, 13, 18, 36.9f}, true},
    };
    papers.build(printers);
    panel().updatePrintInfo();
    EXPECT_EQ(shown->text(), QStringLiteral("Minimum margins:\nl:12  r:13  t:18  b:36"));
    EXPECT_EQ(shown->toolTip(), QStringLiteral("these values are valid for the currently selected printer: Office"));
    // A printer without margins shows none.
    papers.build({{QStringLiteral("Plain"), {{"iso-a4", {595.28f, 841.89f}, "A4"}}, std::nullopt, true}});
    panel().updatePrintInfo();
    EXPECT_EQ(shown->text(), QString());
    EXPECT_EQ(shown->toolTip(), QString());
    papers.build(PaperList::installedPrinters());
}
