// Fuzz target: the XML property-list reader, and writer/reader agreement on what it reads.
#include "platform/foundation/plist_xml_format.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    PropertyListError error;
    const PropertyList value = propertyListFromXml(input, &error);
    if (value.isAbsent())
        return 0;
    // Everything the reader accepts is writable and reads back the same.
    const QByteArray xml = xmlPropertyListData(value);
    if (xml.isEmpty() || propertyListFromXml(xml) != value)
        std::abort();
    return 0;
}
