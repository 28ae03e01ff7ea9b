// Fuzz target: the SVG importer takes any bytes: an import property list or nothing, and a
// document of its objects or none, never a crash, a hang or unbounded memory.
#include "document/vek_document.h"
#include "svg/svg_import.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Under the sanitizers a file that multiplies its content (nested `use`) up to the
// application's bounds takes half a minute, and the fuzzer would spend its time on such
// files. Smaller bounds refuse them after a fraction of the work, by the same code; larger
// inputs add nothing the bounds do not already reach.
constexpr SvgImportLimits FuzzLimits{20000, SvgMaximumDepth, 2000, 5000};
constexpr size_t MaximumInputSize = 64 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaximumInputSize)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SvgXmlDocument xml = MakeXMLDocumentWithData(bytes);
    // An empty file path: relative references do not reach the files beside a real SVG.
    const auto properties = GetPropertyListFromXMLDocument(xml.get(), QString(), FuzzLimits);
    if (!properties)
        return 0;
    if (properties->objectInfos.size() > size_t(FuzzLimits.objects))
        std::abort();   // the walk is bounded
    VekDocument document;
    if (document.setsvgproperties(*properties) && document.objects().empty())
        std::abort();   // success means objects
    return 0;
}
