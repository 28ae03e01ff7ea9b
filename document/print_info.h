// PrintInfo: a document's print settings as a value: paper, orientation, margins, scaling,
// centring and pagination. Each document keeps its own copy; nothing shares one and changes
// it in place.
//
// Its dictionary uses the platform's key names ("NSPaperName", "NSPaperSize",
// "NSLeftMargin", "NSPrintScalingFactor", ...), and its archive is the platform's
// NSPrintInfo (version 1): one NSMutableDictionary of those settings. Machines without a
// printer (always in CI) take their papers from the built-in list.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

#include <QString>

#include <optional>
#include <vector>

class ArchiveCoderRegistry;

struct Paper {
    QString name;        // the printing system's name, which print settings store ("iso-a4")
    QString shownName;   // how lists show it ("A4")
    Size size;           // in points, portrait
};

// The standard papers in a fixed order (US papers, ISO A and B, JIS B), for machines
// without a printer and for the names of papers the printers do not name.
const std::vector<Paper> &builtInPapers();
// The built-in paper of that name, or null.
const Paper *builtInPaper(const QString &name);

struct PrintInfo {
    enum class Orientation { Portrait = 0, Landscape = 1 };

    QString paperName = QStringLiteral("iso-a4");
    Size paperSize{595.28f, 841.89f};
    Orientation orientation = Orientation::Portrait;
    float leftMargin = 72, rightMargin = 72, topMargin = 90, bottomMargin = 90;
    float scalingFactor = 1;
    bool horizontallyCentered = false;
    bool verticallyCentered = false;
    // Automatic vertical pagination (the platform's NSAutoPagination, 0).
    int verticalPagination = 0;

    // The defaults of a new document: A4, centring off, automatic vertical pagination.
    static PrintInfo defaults();

    // The paper as it lies under the print: the stored size is portrait, so landscape turns
    // it (a paper already wider than tall stays as it is).
    Size orientedPaperSize() const;

    // The settings dictionary with the platform's keys; reading takes what it understands
    // and keeps the defaults for keys that are missing, of the wrong kind or out of range.
    PropertyList dictionary() const;
    static PrintInfo fromDictionary(const PropertyList &dictionary);

    friend bool operator==(const PrintInfo &, const PrintInfo &) = default;
};

// The archive coder of print settings ("NSPrintInfo" read and written).
void registerPrintInfoCoders(ArchiveCoderRegistry &registry);
// Archive data of the settings, and the settings of archive data (absent when unreadable).
QByteArray archivedPrintInfo(const PrintInfo &info);
std::optional<PrintInfo> unarchivePrintInfo(const QByteArray &data);
