// Fuzz target: the document reader takes any bytes: a document, the error, never a crash.
#include "document/vek_document.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    VekDocument document;
    DocumentError error;
    if (!document.readFromData(bytes, &error) && error.code != DocumentUnreadableErrorCode)
        std::abort();   // a failure must be the document error
    // What was read writes again in both forms.
    if (document.dataOfDocument(false).isEmpty() || document.dataOfDocument(true).isEmpty())
        std::abort();
    return 0;
}
