// Fuzz target: the SVG importer takes any bytes: an import property list or nothing, and a
// document of its objects or none, never a crash, a hang or unbounded memory.
#include "document/vek_document.h"
#include "svg/svg_import.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SvgXmlDocument xml = MakeXMLDocumentWithData(bytes);
    // An empty file path: relative references do not reach the files beside a real SVG.
    const auto properties = GetPropertyListFromXMLDocument(xml.get(), QString());
    if (!properties)
        return 0;
    if (!properties->objectInfos.empty() && properties->objectInfos.size() > size_t(SvgMaximumElements) * 4)
        std::abort();   // the walk is bounded
    VekDocument document;
    if (document.setsvgproperties(*properties) && document.objects().empty())
        std::abort();   // success means objects
    return 0;
}
