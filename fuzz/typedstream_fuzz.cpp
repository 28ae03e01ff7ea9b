// libFuzzer target for the typedstream reader: any input must give a value or an error,
// and a property list it reads must archive and read back.
#include "platform/color/color.h"
#include "platform/foundation/archiving.h"
#include "platform/geometry/bezier_path.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    auto root = unarchiveObjectWithData(bytes);
    if (!root) {
        if (root.error.isEmpty())
            __builtin_trap();   // a failure must say why
        return 0;
    }
    if (const auto *plist = std::any_cast<PropertyList>(&*root.value)) {
        auto again = archivedDataWithRootObject(*plist);
        if (!again || !unarchivePropertyListWithData(*again.value))
            __builtin_trap();   // what was read must write and read back
    } else if (const auto *color = std::any_cast<Color>(&*root.value)) {
        auto again = archivedDataWithRootObject(*color);
        if (!again || !unarchiveColorWithData(*again.value))
            __builtin_trap();
    } else if (const auto *path = std::any_cast<BezierPath>(&*root.value)) {
        auto again = archivedDataWithRootObject(*path);
        if (!again || !unarchiveBezierPathWithData(*again.value))
            __builtin_trap();
    }
    return 0;
}
