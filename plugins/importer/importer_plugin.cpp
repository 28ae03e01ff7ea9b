// The metadata importer's binding: factory, query, add-ref and release over one static
// interface table, and the import that hands a document's "metainfo" to the host.
#include "plugins/importer/importer_interface.h"
#include "plugins/importer/metadata_import.h"

#include "platform/foundation/native_path_files.h"

#include <string>
#include <vector>

#define VEK_EXPORT extern "C" __attribute__((visibility("default")))

VEK_EXPORT VekResult VekImporterQueryInterface(void *instance, VekUUIDBytes interfaceID, void **out);
VEK_EXPORT uint32_t VekImporterPluginAddRef(void *instance);
VEK_EXPORT uint32_t VekImporterPluginRelease(void *instance);
VEK_EXPORT bool ImportFromFile(void *instance, VekMetadataAttributes *attributes, const char *contentType,
                               const char *path);

namespace {

VekImporterInterface _testInterfaceFtbl = {nullptr, VekImporterQueryInterface, VekImporterPluginAddRef,
                                           VekImporterPluginRelease, ImportFromFile};

void setString(VekMetadataAttributes *attributes, const char *key, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    attributes->setString(attributes, key, utf8.constData());
}

void importFile(VekMetadataAttributes *attributes, const char *path)
{
    const std::optional<QByteArray> data = readWholeFileAtNativePath(path);
    if (!data)
        return;
    const DocumentMetadata metadata = documentMetadataFromData(*data);
    if (metadata.author) {
        const QByteArray author = metadata.author->toUtf8();
        const char *authors[] = {author.constData()};
        attributes->setStrings(attributes, "kMDItemAuthors", authors, 1);
    }
    if (metadata.title)
        setString(attributes, "kMDItemTitle", *metadata.title);
    if (metadata.subject)
        setString(attributes, "kMDItemSubject", *metadata.subject);
    if (metadata.copyright)
        setString(attributes, "kMDItemCopyright", *metadata.copyright);
    if (metadata.keywords && !metadata.keywords->isEmpty()) {
        std::vector<QByteArray> keywords;
        std::vector<const char *> pointers;
        for (const QString &keyword : *metadata.keywords)
            keywords.push_back(keyword.toUtf8());
        for (const QByteArray &keyword : keywords)
            pointers.push_back(keyword.constData());
        attributes->setStrings(attributes, "kMDItemKeywords", pointers.data(), pointers.size());
    }
}

} // namespace

VEK_EXPORT void *AllocVekImporterPluginType(const VekUUIDBytes *factoryID)
{
    return newPlugInInstance(&_testInterfaceFtbl, *factoryID);
}

VEK_EXPORT void DeallocVekImporterPluginType(void *instance)
{
    deletePlugInInstance(static_cast<PlugInInstance *>(instance));
}

VEK_EXPORT void *VekImporterPluginFactory(void *, const VekUUIDBytes *typeID)
{
    if (!typeID || !(*typeID == *uuidFromString(VEK_IMPORTER_TYPE_ID)))
        return nullptr;
    const VekUUIDBytes factory = *uuidFromString(VEK_IMPORTER_FACTORY_ID);
    return AllocVekImporterPluginType(&factory);
}

VEK_EXPORT VekResult VekImporterQueryInterface(void *instance, VekUUIDBytes interfaceID, void **out)
{
    if (interfaceID == *uuidFromString(VEK_IMPORTER_INTERFACE_ID) || interfaceID == unknownInterfaceID()) {
        VekImporterPluginAddRef(instance);
        *out = instance;
        return VEK_S_OK;
    }
    *out = nullptr;
    return VEK_E_NOINTERFACE;
}

VEK_EXPORT uint32_t VekImporterPluginAddRef(void *instance)
{
    return plugInAddRef(static_cast<PlugInInstance *>(instance));
}

VEK_EXPORT uint32_t VekImporterPluginRelease(void *instance)
{
    return plugInRelease(static_cast<PlugInInstance *>(instance), DeallocVekImporterPluginType);
}

// Always true: a file that cannot be read or decoded simply adds no attributes. Nothing
// thrown by the decoders may cross into the host.
VEK_EXPORT bool ImportFromFile(void *, VekMetadataAttributes *attributes, const char *, const char *path)
{
    if (!attributes || !path)
        return true;
    try {
        importFile(attributes, path);
    } catch (...) {
    }
    return true;
}

// The instances alive for a factory, for hosts and tests that check the reference counts.
VEK_EXPORT int VekPlugInInstanceCount(const VekUUIDBytes *factoryID)
{
    return plugInInstanceCount(*factoryID);
}
