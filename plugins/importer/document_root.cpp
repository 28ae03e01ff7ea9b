#include "plugins/importer/document_root.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"

std::optional<PropertyList> documentRootFromData(const QByteArray &data)
{
    if (data.size() >= 2 && data.startsWith('{')) {
        const PropertyList root = propertyListFromText(data);
        if (root.isDictionary())
            return root;
    }
    const auto archived = unarchivePropertyListWithData(data);
    if (archived && archived.value->isDictionary())
        return *archived.value;
    return std::nullopt;
}

bool startsLikeDocument(const QByteArray &data)
{
    const QByteArray signature = data.mid(2, 11);
    return data.startsWith('{') || signature == "streamtyped" || signature == "typedstream";
}
