#include "plugins/importer/metadata_import.h"

#include "plugins/importer/document_root.h"

namespace {

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
    const PropertyList info = documentRootFromData(data).value_or(PropertyList()).value(QStringLiteral("metainfo"));
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
