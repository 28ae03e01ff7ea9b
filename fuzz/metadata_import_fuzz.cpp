// Fuzz target: the metadata importer's reader takes any bytes: the metadata found, never a
// crash, and only strings as values.
#include "plugins/importer/metadata_import.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const DocumentMetadata metadata =
        documentMetadataFromData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)metadata;
    return 0;
}
