// PaperList: every paper the installed printers offer, one entry per paper name, with its
// size and the printing system's name for it, and each printer's minimum margins. It serves
// the print tab's and the preferences' paper pop-ups and the questions of paper names and
// sizes. Papers come from Qt Print Support (CUPS), standard papers under the printing
// system's names ("iso-a4", "na-letter"); with no printer installed, the built-in papers.
#pragma once

#include "platform/geometry/geometry.h"

#include <QMap>
#include <QString>

#include <optional>
#include <vector>

class QComboBox;

struct PaperEntry {
    QString name;          // as print settings store it ("iso-a4", "na-letter")
    Size size;             // points, portrait
    QString displayName;   // the printing system's name; empty when it gave none
};

// Minimum margins in points.
struct PaperMargins {
    float left = 0, right = 0, top = 0, bottom = 0;
};

struct PrinterPapers {
    QString printer;
    std::vector<PaperEntry> papers;
    std::optional<PaperMargins> margins;   // of its last paper that reported them
    bool isDefault = false;                // the printer printing starts with
};

class PaperList {
public:
    // The application's list, built from the installed printers on first use.
    static PaperList &shared();
    // The installed printers' papers. With none installed (or none offering papers),
    // printing writes PDF files: the built-in papers under the name "Print to PDF", with
    // Qt's minimum margins for PDF.
    static std::vector<PrinterPapers> installedPrinters();

    // One entry per paper name, a later printer's paper replacing an earlier one's, sorted
    // by name without regard to case; the printers' margins by printer name.
    void build(const std::vector<PrinterPapers> &printers);

    const std::vector<PaperEntry> &papers() const { return m_papers; }
    // The display name, else the paper name: how pop-ups list the paper.
    static QString titleOf(const PaperEntry &paper);
    // "%d x %d" of the size in whole points; empty for a paper without width.
    static QString toolTipOf(const PaperEntry &paper);
    // Fills the pop-up with one item per paper (the paper name as the item's data) when its
    // item count differs from the number of papers.
    void fillPopup(QComboBox &popup) const;

    // The display name of a listed paper (empty when its printer gave none); for a paper not
    // listed, the built-in papers' shown name; else empty.
    QString paperLocalNameForName(const QString &name) const;
    // The first paper whose display name this is; papers without one never match.
    QString paperNameForLocalName(const QString &displayName) const;
    bool isPaperNameAvailable(const QString &name) const;
    // The zero size for an unknown name.
    Size paperSizeForPaperName(const QString &name) const;
    // The paper that holds the page with the least spare area (ties: the later paper); empty
    // when none holds it.
    QString bestPaperNameForPageSize(Size page) const;
    std::optional<PaperMargins> minimumMarginsOf(const QString &printer) const;
    // The printer printing starts with (the default printer, else the first one); empty with
    // no printer.
    QString currentPrinter() const { return m_currentPrinter; }

private:
    std::vector<PaperEntry> m_papers;
    QMap<QString, PaperMargins> m_printerMargins;
    QString m_currentPrinter;
};
