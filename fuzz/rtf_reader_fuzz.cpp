// Fuzz target: the RTF reader and the flat RTFD reader take any bytes without crashing.
#include "platform/text/rtf.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // Make every input RTF, so the reader gets past the header check.
    attributedStringWithRTF("{\\rtf1 " + bytes);
    attributedStringWithRTFD("rtfd" + bytes);
    return 0;
}
