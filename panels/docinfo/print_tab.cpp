// The print tab's controls, their refresh and their edits.
#include "panels/docinfo/print_tab.h"

#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/docinfo/paper_list.h"
#include "panels/docinfo/print_edits.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

// Units 2 and 4 show whole points; the others show two decimals of the unit.
bool wholeUnits(int unit)
{
    return unit == 2 || unit == 4;
}

QString length(int unit, float points)
{
    return formatC("%.2f", double(ConvertPointsTo(unit, points)));
}

QString pair(int unit, Size size, bool roundUp)
{
    if (wholeUnits(unit)) {
        const auto whole = [roundUp](float v) { return int(roundUp ? std::ceil(v) : std::floor(v)); };
        return QStringLiteral("%1 x %2").arg(whole(size.width)).arg(whole(size.height));
    }
    return length(unit, size.width) + QStringLiteral(" x ") + length(unit, size.height);
}

float typedLength(int unit, const QLineEdit *field)
{
    const float value = floatValueOf(field->text());
    return wholeUnits(unit) ? value : ConvertToPoints(unit, value);
}

} // namespace

PrintTab::PrintTab(VekDocInfoController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    auto *form = new QFormLayout(this);
    auto label = [this](QLabel *&l, const char *name) {
        l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
    };
    label(txUnit, "txUnit");
    form->addRow(txUnit);

    pupPaperSizes = new QComboBox(this);
    pupPaperSizes->setObjectName(QStringLiteral("pupPaperSizes"));
    form->addRow(localized("Paper"), pupPaperSizes);
    connect(pupPaperSizes, &QComboBox::activated, this, [this] { changePrintInfo(pupPaperSizes); });
    label(txPaperSize, "txPaperSize");
    form->addRow(localized("Paper size"), txPaperSize);

    pupOrientation = new QComboBox(this);
    pupOrientation->setObjectName(QStringLiteral("pupOrientation"));
    pupOrientation->addItems({localized("Portrait"), localized("Landscape")});
    form->addRow(localized("Orientation"), pupOrientation);
    connect(pupOrientation, &QComboBox::activated, this, [this] { changePrintInfo(pupOrientation); });

    auto field = [this](VekTextField *&f, const char *name) {
        f = new VekTextField(this);
        f->setObjectName(QLatin1String(name));
        f->setTag(13);
        f->setController(this);
    };
    field(marginL, "marginL");
    field(marginR, "marginR");
    field(marginT, "marginT");
    field(marginB, "marginB");
    auto *margins = new QGridLayout;
    margins->addWidget(new QLabel(localized("Left"), this), 0, 0);
    margins->addWidget(marginL, 0, 1);
    margins->addWidget(new QLabel(localized("Right"), this), 0, 2);
    margins->addWidget(marginR, 0, 3);
    margins->addWidget(new QLabel(localized("Top"), this), 1, 0);
    margins->addWidget(marginT, 1, 1);
    margins->addWidget(new QLabel(localized("Bottom"), this), 1, 2);
    margins->addWidget(marginB, 1, 3);
    form->addRow(localized("Margins"), margins);
    label(txMinMargin, "txMinMargin");
    form->addRow(txMinMargin);

    auto box = [this](QCheckBox *&b, const char *name, const char *text) {
        b = new QCheckBox(localized(text), this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QCheckBox::clicked, this, [this, b] { changePrintInfo(b); });
    };
    box(optCenterH, "optCenterH", "Center horizontally");
    box(optCenterV, "optCenterV", "Center vertically");
    form->addRow(optCenterH);
    form->addRow(optCenterV);

    field(txDrawAreaW, "txDrawAreaW");
    field(txDrawAreaH, "txDrawAreaH");
    auto *area = new QHBoxLayout;
    area->addWidget(txDrawAreaW);
    area->addWidget(new QLabel(QStringLiteral("x"), this));
    area->addWidget(txDrawAreaH);
    form->addRow(localized("Drawing area per page"), area);
    label(txPageWidth, "txPageWidth");
    label(txPageHeight, "txPageHeight");
    auto *page = new QHBoxLayout;
    page->addWidget(txPageWidth);
    page->addWidget(txPageHeight);
    form->addRow(localized("Page needs"), page);
    label(txMaxDrawArea, "txMaxDrawArea");
    form->addRow(localized("Largest drawing area"), txMaxDrawArea);
    label(txPrintScale, "txPrintScale");
    form->addRow(localized("Print scale"), txPrintScale);
    label(txSufficientSize, "txSufficientSize");
    form->addRow(localized("Paper needed"), txSufficientSize);
    btnAdjustPaperSize = new QPushButton(localized("Fit Paper to Page"), this);
    btnAdjustPaperSize->setObjectName(QStringLiteral("btnAdjustPaperSize"));
    connect(btnAdjustPaperSize, &QPushButton::clicked, this, [this] { changePrintInfo(btnAdjustPaperSize); });
    form->addRow(btnAdjustPaperSize);

    selResolution = new QComboBox(this);
    selResolution->setObjectName(QStringLiteral("selResolution"));
    selResolution->setEditable(true);
    selResolution->addItems({QStringLiteral("72"), QStringLiteral("144"), QStringLiteral("150"), QStringLiteral("300"),
                             QStringLiteral("600")});
    connect(selResolution, &QComboBox::activated, this, [this] { changePrintInfo(selResolution); });
    form->addRow(localized("Resolution"), selResolution);

    box(optAddBorder, "optAddBorder", "Print headers and footers");
    btnEditBorder = new QPushButton(localized("Edit..."), this);
    btnEditBorder->setObjectName(QStringLiteral("btnEditBorder"));
    connect(btnEditBorder, &QPushButton::clicked, this, [this] { m_controller.showBorderPanel(); });
    auto *border = new QHBoxLayout;
    border->addWidget(optAddBorder);
    border->addWidget(btnEditBorder);
    form->addRow(border);

    btnShowPreview = new QPushButton(localized("Page Preview"), this);
    btnShowPreview->setObjectName(QStringLiteral("btnShowPreview"));
    connect(btnShowPreview, &QPushButton::clicked, this, [this] {
        if (!m_controller.isVisibleSubpanel(1))
            m_controller.toggleSubPanel(1);
    });
    optShowMargin = new QCheckBox(localized("Show margins"), this);
    optShowMargin->setObjectName(QStringLiteral("optShowMargin"));
    connect(optShowMargin, &QCheckBox::clicked, this, [this] { m_controller.updatePagePreview(); });
    auto *preview = new QHBoxLayout;
    preview->addWidget(btnShowPreview);
    preview->addWidget(optShowMargin);
    form->addRow(preview);

    PaperList::shared().fillPopup(*pupPaperSizes);
}

void PrintTab::updatePrintInfo()
{
    VekDocument *document = m_controller.currentDocument();
    const QList<QWidget *> editable = {txDrawAreaW, txDrawAreaH, marginL, marginR, marginT, marginB,
                                       selResolution, optCenterH, optCenterV, optAddBorder, btnEditBorder,
                                       btnShowPreview, optShowMargin, pupPaperSizes, pupOrientation,
                                       btnAdjustPaperSize};
    for (QWidget *control : editable)
        control->setEnabled(document != nullptr);
    if (!document)
        return;
    const int unit = shellServices().selectedUnit();
    const PrintSettings settings = PrintSettings::of(*document);
    const PrintInfo &info = settings.info;
    txUnit->setText(localized("Unit: ") + UnitIndexToName(unit));
    optCenterH->setChecked(info.horizontallyCentered);
    optCenterV->setChecked(info.verticallyCentered);
    const auto showLength = [unit](QLineEdit *field, float points) {
        field->setText(wholeUnits(unit) ? QString::number(int(points)) : length(unit, points));
    };
    showLength(marginL, info.leftMargin);
    showLength(marginR, info.rightMargin);
    showLength(marginT, info.topMargin);
    showLength(marginB, info.bottomMargin);
    txPaperSize->setText(pair(unit, info.paperSize, true));

    // The item of the paper's name, else the item its shown name titles.
    int paper = info.paperName.isEmpty() ? -1 : pupPaperSizes->findData(info.paperName);
    if (const QString shown = PaperList::shared().paperLocalNameForName(info.paperName); paper < 0 && !shown.isEmpty())
        paper = pupPaperSizes->findText(shown);
    if (paper >= 0)
        pupPaperSizes->setCurrentIndex(paper);
    else {
        pupPaperSizes->setCurrentIndex(-1);
        pupPaperSizes->setPlaceholderText(localized("custom"));
    }
    pupOrientation->setCurrentIndex(info.orientation == PrintInfo::Orientation::Landscape ? 1 : 0);

    const Size page = pageSizeInPoints(settings);
    const Size shownPage = wholeUnits(unit) ? Size(std::floor(page.width), std::floor(page.height)) : page;
    const auto showPageSide = [unit](QLineEdit *field, float points) {
        field->setText(wholeUnits(unit) ? QString::number(int(std::floor(points))) : length(unit, points));
    };
    showPageSide(txDrawAreaW, page.width);
    showPageSide(txDrawAreaH, page.height);
    const Size needed{info.leftMargin + info.rightMargin + shownPage.width,
                      info.topMargin + info.bottomMargin + shownPage.height};
    txPageWidth->setText(localized("width: ") + (wholeUnits(unit) ? QString::number(int(std::ceil(needed.width)))
                                                                   : length(unit, needed.width)));
    txPageHeight->setText(localized("height: ") + (wholeUnits(unit) ? QString::number(int(std::ceil(needed.height)))
                                                                     : length(unit, needed.height)));
    txMaxDrawArea->setText(pair(unit, VekDocument::convertDefaultSizeToResolution(drawAreaSizePerPaper(settings),
                                                                                 settings.resolution),
                                false));
    float scale = info.scalingFactor;
    if (!(scale > 0))
        scale = 1;
    txPrintScale->setText(QStringLiteral("%1 %").arg(int(std::lround(scale * 100))));
    txSufficientSize->setText(pair(unit,
                                   {info.leftMargin + info.rightMargin + scale * page.width,
                                    info.topMargin + info.bottomMargin + scale * page.height},
                                   true));
    txMinMargin->clear();
    txMinMargin->setToolTip(QString());
    const QString printer = PaperList::shared().currentPrinter();
    if (const auto least = PaperList::shared().minimumMarginsOf(printer)) {
        txMinMargin->setText(formatC("Minimum margins:\nl:%d  r:%d  t:%d  b:%d", int(least->left), int(least->right),
                                     int(least->top), int(least->bottom)));
        txMinMargin->setToolTip(localized("these values are valid for the currently selected printer: %@")
                                    .replace(QStringLiteral("%@"), printer));
    }
    selResolution->setCurrentText(QString::number(settings.resolution));
    const bool anyMargin = info.leftMargin > 0 || info.rightMargin > 0 || info.topMargin > 0 || info.bottomMargin > 0;
    optAddBorder->setChecked(settings.addBorder != 0);
    optAddBorder->setEnabled(anyMargin);
    btnEditBorder->setEnabled(anyMargin && optAddBorder->isChecked());
}

void PrintTab::changePrintInfo(QObject *sender)
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    const int unit = shellServices().selectedUnit();
    const QString name = localized("Print Settings");
    if (sender == optCenterH || sender == optCenterV) {
        const bool h = optCenterH->isChecked(), v = optCenterV->isChecked();
        changePrintSettings(*document, name, [h, v](PrintSettings &s) { setPrintCentered(s, h, v); });
    } else if (sender == optAddBorder) {
        const int on = optAddBorder->isChecked() ? 1 : 0;
        changePrintSettings(*document, name, [on](PrintSettings &s) { s.addBorder = on; });
    } else if (sender == selResolution) {
        const int resolution = int(intValueOf(selResolution->currentText()));
        changePrintSettings(*document, name, [resolution](PrintSettings &s) { setResolution(s, resolution); });
    } else if (sender == btnAdjustPaperSize) {
        changePrintSettings(*document, name, [](PrintSettings &s) { setPaperSizeToMatchPage(s); });
    } else if (sender == pupPaperSizes) {
        const QString paper = pupPaperSizes->currentData().toString();
        const Size size = PaperList::shared().paperSizeForPaperName(paper);
        changePrintSettings(*document, name, [paper, size](PrintSettings &s) { setPaper(s, paper, size); });
    } else if (sender == pupOrientation) {
        const auto orientation =
            pupOrientation->currentIndex() == 1 ? PrintInfo::Orientation::Landscape : PrintInfo::Orientation::Portrait;
        changePrintSettings(*document, name, [orientation](PrintSettings &s) { setOrientation(s, orientation); });
    } else if (sender == txDrawAreaW || sender == txDrawAreaH) {
        const Size points{typedLength(unit, txDrawAreaW), typedLength(unit, txDrawAreaH)};
        changePrintSettings(*document, name, [points](PrintSettings &s) { setPageSizeInPoints(s, points); });
    } else {
        const float l = typedLength(unit, marginL), r = typedLength(unit, marginR), t = typedLength(unit, marginT),
                    b = typedLength(unit, marginB);
        changePrintSettings(*document, name, [=](PrintSettings &s) { setMargins(s, l, r, t, b); });
    }
    updatePrintInfo();
}
