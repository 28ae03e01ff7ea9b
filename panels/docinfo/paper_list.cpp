// The paper list: built from Qt Print Support, and its questions.
#include "panels/docinfo/paper_list.h"

#include "document/print_info.h"
#include "platform/foundation/localized_strings.h"

#include <QComboBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

// The printing system's name of a standard paper; Qt's key for the others.
QString paperNameOf(const QPageSize &size)
{
    if (size.id() != QPageSize::Custom)
        for (const Paper &paper : builtInPapers())
            if (QPageSize::id(QSizeF(paper.size.width, paper.size.height), QPageSize::Point, QPageSize::FuzzyMatch) ==
                size.id())
                return paper.name;
    return size.key();
}

PaperEntry entryOf(const QPageSize &size)
{
    const QSizeF points = size.definitionUnits() == QPageSize::Point ? size.definitionSize() : size.size(QPageSize::Point);
    return {paperNameOf(size), Size(float(points.width()), float(points.height())), size.name()};
}

// The printer's unprintable margins for its present paper, in points.
PaperMargins unprintableMargins(const QPrinter &printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF m = layout.minimumMargins();
    return PaperMargins{float(m.left()), float(m.right()), float(m.top()), float(m.bottom())};
}

// The default printer, else the first one (printers without a name do not count).
QString currentPrinterOf(const std::vector<PrinterPapers> &printers)
{
    QString first;
    for (const PrinterPapers &printer : printers) {
        if (printer.printer.isEmpty())
            continue;
        if (printer.isDefault)
            return printer.printer;
        if (first.isEmpty())
            first = printer.printer;
    }
    return first;
}

} // namespace

PaperList &PaperList::shared()
{
    static PaperList *list = [] {
        auto *made = new PaperList;   // kept for the whole run
        made->build(installedPrinters());
        return made;
    }();
    return *list;
}

std::vector<PrinterPapers> PaperList::installedPrinters()
{
    std::vector<PrinterPapers> printers;
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
        PrinterPapers printer{info.printerName(), {}, std::nullopt, info.printerName() == defaultPrinter};
        QPrinter device(info);
        for (const QPageSize &size : info.supportedPageSizes()) {
            if (!size.isValid())
                continue;
            printer.papers.push_back(entryOf(size));
            if (device.setPageSize(size))
                printer.margins = unprintableMargins(device);
        }
        printers.push_back(std::move(printer));
    }
    if (std::any_of(printers.begin(), printers.end(), [](const PrinterPapers &p) { return !p.papers.empty(); }))
        return printers;
    PrinterPapers pdf{localizedString(QStringLiteral("Print to PDF")), {}, std::nullopt, true};
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    for (const Paper &paper : builtInPapers()) {
        pdf.papers.push_back({paper.name, paper.size, paper.shownName});
        if (device.setPageSize(QPageSize(QSizeF(paper.size.width, paper.size.height), QPageSize::Point)))
            pdf.margins = unprintableMargins(device);
    }
    return {pdf};
}

void PaperList::build(const std::vector<PrinterPapers> &printers)
{
    m_papers.clear();
    m_printerMargins.clear();
    m_currentPrinter = currentPrinterOf(printers);
    for (const PrinterPapers &printer : printers) {
        if (printer.margins && !printer.printer.isEmpty())
            m_printerMargins.insert(printer.printer, *printer.margins);
        for (const PaperEntry &paper : printer.papers) {
            const auto same = std::find_if(m_papers.begin(), m_papers.end(),
                                           [&paper](const PaperEntry &e) { return e.name == paper.name; });
            if (same != m_papers.end())
                *same = paper;
            else
                m_papers.push_back(paper);
        }
    }
    std::stable_sort(m_papers.begin(), m_papers.end(), [](const PaperEntry &a, const PaperEntry &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
}

QString PaperList::titleOf(const PaperEntry &paper)
{
    return paper.displayName.isEmpty() ? paper.name : paper.displayName;
}

QString PaperList::toolTipOf(const PaperEntry &paper)
{
    if (!(paper.size.width > 0))
        return QString();
    return QStringLiteral("%1 x %2").arg(int(paper.size.width)).arg(int(paper.size.height));
}

void PaperList::fillPopup(QComboBox &popup) const
{
    if (popup.count() == int(m_papers.size()))
        return;
    popup.clear();
    for (const PaperEntry &paper : m_papers) {
        popup.addItem(titleOf(paper), paper.name);
        popup.setItemData(popup.count() - 1, toolTipOf(paper), Qt::ToolTipRole);
    }
}

QString PaperList::paperLocalNameForName(const QString &name) const
{
    for (const PaperEntry &paper : m_papers)
        if (paper.name == name)
            return paper.displayName;
    const Paper *builtIn = builtInPaper(name);
    return builtIn ? builtIn->shownName : QString();
}

QString PaperList::paperNameForLocalName(const QString &displayName) const
{
    for (const PaperEntry &paper : m_papers)
        if (!paper.displayName.isEmpty() && paper.displayName == displayName)
            return paper.name;
    return QString();
}

bool PaperList::isPaperNameAvailable(const QString &name) const
{
    return std::any_of(m_papers.begin(), m_papers.end(), [&name](const PaperEntry &p) { return p.name == name; });
}

Size PaperList::paperSizeForPaperName(const QString &name) const
{
    for (const PaperEntry &paper : m_papers)
        if (paper.name == name)
            return paper.size;
    return Size();
}

QString PaperList::bestPaperNameForPageSize(Size page) const
{
    QString best;
    double bestSpare = 0;
    for (const PaperEntry &paper : m_papers) {
        const double dw = double(paper.size.width) - page.width, dh = double(paper.size.height) - page.height;
        if (dw < 0 || dh < 0)
            continue;
        const double spare = double(paper.size.width) * paper.size.height - double(page.width) * page.height;
        if (best.isEmpty() || spare <= bestSpare) {
            best = paper.name;
            bestSpare = spare;
        }
    }
    return best;
}

std::optional<PaperMargins> PaperList::minimumMarginsOf(const QString &printer) const
{
    const auto found = m_printerMargins.find(printer);
    return found == m_printerMargins.end() ? std::nullopt : std::optional<PaperMargins>(*found);
}
