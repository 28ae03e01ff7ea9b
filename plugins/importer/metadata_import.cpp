#include "plugins/importer/metadata_import.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"

namespace {

// The text form when the file starts with "{" and has more than that byte, else the archive.
PropertyList rootOf(const QByteArray &data)
{
    if (data.size() >= 2 && data.startsWith('{')) {
        const PropertyList root = propertyListFromText(data);
        if (root.isDictionary())
            return root;
    }
    const auto archived = unarchivePropertyListWithData(data);
    return archived ? *archived.value : PropertyList();
}

std::optional<QString> stringEntry(const PropertyList &info, const QString &key)
{
    const PropertyList value = info.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.stringValue();
}

} // namespace

DocumentMetadata documentMetadataFromData(const QByteArray &data)
{
    DocumentMetadata metadata;
    const PropertyList info = rootOf(data).value(QStringLiteral("metainfo"));
    if (!info.isDictionary())
        return metadata;
    metadata.author = stringEntry(info, QStringLiteral("author"));
    metadata.title = stringEntry(info, QStringLiteral("title"));
    metadata.subject = stringEntry(info, QStringLiteral("subject"));
    metadata.copyright = stringEntry(info, QStringLiteral("copyright"));
    if (const auto keywords = stringEntry(info, QStringLiteral("keywords")))
        metadata.keywords = keywords->split(QLatin1Char(','));
    return metadata;
}
