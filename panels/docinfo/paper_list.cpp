// The paper list: built from Qt Print Support, and its questions.
#include "panels/docinfo/paper_list.h"

#include <QComboBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

PaperEntry entryOf(const QPageSize &size, bool withDisplayName)
{
    const QSizeF points = size.definitionUnits() == QPageSize::Point ? size.definitionSize() : size.size(QPageSize::Point);
    return {size.key(), Size(float(points.width()), float(points.height())), withDisplayName ? size.name() : QString()};
}

std::vector<PaperEntry> standardPapers()
{
    std::vector<PaperEntry> papers;
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto pageId = QPageSize::PageSizeId(id);
        if (pageId != QPageSize::Custom)
            papers.push_back(entryOf(QPageSize(pageId), true));
    }
    return papers;
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
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
        PrinterPapers printer{info.printerName(), {}, std::nullopt};
        QPrinter device(info);
        for (const QPageSize &size : info.supportedPageSizes()) {
            if (!size.isValid())
                continue;
            printer.papers.push_back(entryOf(size, true));
            if (device.setPageSize(size)) {
                const QMarginsF m = device.pageLayout().minimumMargins();
                printer.margins = PaperMargins{float(m.left()), float(m.right()), float(m.top()), float(m.bottom())};
            }
        }
        printers.push_back(std::move(printer));
    }
    if (printers.empty() || std::all_of(printers.begin(), printers.end(),
                                        [](const PrinterPapers &p) { return p.papers.empty(); }))
        printers = {PrinterPapers{QString(), standardPapers(), std::nullopt}};
    return printers;
}

void PaperList::build(const std::vector<PrinterPapers> &printers)
{
    m_papers.clear();
    m_printerMargins.clear();
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
    for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
        const QPageSize standard{QPageSize::PageSizeId(i)};
        if (standard.key() == name)
            return standard.name();
    }
    return QString();
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
