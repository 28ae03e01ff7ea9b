// Fuzz target: the old-style text property-list reader, and writer/reader agreement on what it reads.
#include "platform/foundation/plist_text_format.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    PropertyListError error;
    const PropertyList value = propertyListFromText(input, &error);
    if (value.isAbsent())
        return 0;
    // What was read must write as ASCII and read back the same.
    const QByteArray text = textPropertyListData(value);
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            std::abort();
    }
    if (propertyListFromText(text) != value)
        std::abort();
    return 0;
}
