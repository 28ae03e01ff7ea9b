// The print settings as one value, applied through the document's setters.
#include "panels/docinfo/document_settings.h"

PrintSettings PrintSettings::of(VekDocument &document)
{
    return {document.printInfo(), document.drawAreaSizePerPage(), document.resolution(), document.addBorder()};
}

void PrintSettings::applyTo(VekDocument &document) const
{
    // The resolution first: it rewrites the scaling of the print settings set after it.
    document.setResolution(resolution);
    document.setPrintInfo(info);
    document.setDrawAreaSizePerPage(drawAreaSize);
    document.setAddBorder(addBorder);
}

void changePrintSettings(VekDocument &document, const QString &actionName,
                         const std::function<void(PrintSettings &)> &change)
{
    const PrintSettings before = PrintSettings::of(document);
    PrintSettings after = before;
    change(after);
    changeDocumentSetting<PrintSettings>(document, actionName, before, after,
                                         [](VekDocument &d, const PrintSettings &s) { s.applyTo(d); });
}
