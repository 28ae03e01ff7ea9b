// The header and footer panel as a user works it: headers switched on in the print tab, the
// panel opened from the Window menu, "Page #VPAGE of #VPAGETOTAL" typed and inserted into the
// header's middle cell, and the document printed into a PDF file shows the header on each page.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "panels/docinfo/print_tab.h"
#include "panels/header_footer/border_controller.h"
#include "panels/header_footer/rich_text_cells.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

// Answers the next file panel with the path.
void answerFilePanel(const QString &path)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, path] {
        auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!panel || !panel->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        auto *name = panel->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name) {
            ADD_FAILURE() << "the file panel has no name field";
            panel->reject();
            return;
        }
        name->setFocus();
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    poll->start(20);
}

} // namespace

TEST_F(DocInfoWindowTest, HeadersWithPageVariablesAppearInThePrintedPdf)
{
    choose(QStringLiteral("Page"), QStringLiteral("Add Page"));
    ASSERT_EQ(document().numberOfPages(), 2);
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    panel().printTab->optAddBorder->click();
    endPass();
    ASSERT_EQ(document().addBorder(), 1);

    choose(QStringLiteral("Window"), QStringLiteral("Open Border Panel"));
    VekBorderController &borders = *panel().borderController;
    VEK_WAIT_FOR(borders.isVisible());
    QTextEdit *middle = borders.cell(0, 1);
    middle->setFocus();
    QTest::keyClicks(middle, QStringLiteral("Page "));
    borders.pbVars->setCurrentIndex(1);
    borders.btnInsert->click();
    QTest::keyClicks(middle, QStringLiteral(" of "));
    borders.pbVars->setCurrentIndex(2);
    borders.btnInsert->click();
    EXPECT_EQ(middle->toPlainText(), QStringLiteral("Page #VPAGE of #VPAGETOTAL"));
    EXPECT_EQ(cellFromStored(document().borderinfo().value(QStringLiteral("hdMd"))).string(),
              QStringLiteral("Page #VPAGE of #VPAGETOTAL"));
    EXPECT_TRUE(borders.txMsg->text().isEmpty());

    // Clearing a cell removes its key.
    borders.cell(0, 2)->clear();
    EXPECT_FALSE(document().borderinfo().contains(QStringLiteral("hdRt")));

    const QString pdf = path(QStringLiteral("printed.pdf"));
    answerFilePanel(pdf);
    choose(QStringLiteral("File"), QStringLiteral("Print..."));
    VEK_WAIT_FOR(QFile::exists(pdf));
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 of 2"))) << text.toStdString();
}

TEST_F(DocInfoWindowTest, ClosingTheBorderPanelOffersToPrintHeaders)
{
    openPanel();
    choose(QStringLiteral("Window"), QStringLiteral("Open Border Panel"));
    VekBorderController &borders = *panel().borderController;
    VEK_WAIT_FOR(borders.isVisible());
    ASSERT_EQ(document().addBorder(), 0);
    borders.askToSwitchOn = [] { return false; };
    borders.close();
    EXPECT_EQ(document().addBorder(), 0);
    choose(QStringLiteral("Window"), QStringLiteral("Open Border Panel"));
    VEK_WAIT_FOR(borders.isVisible());
    borders.askToSwitchOn = [] { return true; };
    borders.close();
    EXPECT_EQ(document().addBorder(), 1);
    EXPECT_TRUE(panel().printTab->optAddBorder->isChecked());
    endPass();
    undo();
    EXPECT_EQ(document().addBorder(), 0);
}
