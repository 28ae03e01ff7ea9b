// The preview plug-in's binding: the factory, and instances each with its own copy of the
// interface table, whose generation slots are filled when the callbacks interface is asked
// for.
#include "plugins/preview/preview_generation.h"
#include "plugins/preview/preview_interface.h"

#include <new>

#define VEK_EXPORT extern "C" __attribute__((visibility("default")))

VEK_EXPORT VekResult QuickLookGeneratorQueryInterface(void *instance, VekUUIDBytes interfaceID, void **out);
VEK_EXPORT uint32_t QuickLookGeneratorPluginAddRef(void *instance);
VEK_EXPORT uint32_t QuickLookGeneratorPluginRelease(void *instance);
VEK_EXPORT int32_t GenerateThumbnailForURL(void *instance, VekPreviewRequest *thumbnail, const char *path,
                                           const char *contentType, const void *options, VekPreviewSize maxSize);
VEK_EXPORT void CancelThumbnailGeneration(void *instance, VekPreviewRequest *thumbnail);
VEK_EXPORT int32_t GeneratePreviewForURL(void *instance, VekPreviewRequest *preview, const char *path,
                                         const char *contentType, const void *options);
VEK_EXPORT void CancelPreviewGeneration(void *instance, VekPreviewRequest *preview);

namespace {

const VekPreviewInterface myInterfaceFtbl = {nullptr, QuickLookGeneratorQueryInterface,
                                             QuickLookGeneratorPluginAddRef, QuickLookGeneratorPluginRelease,
                                             nullptr, nullptr, nullptr, nullptr};

VekPreviewInterface &tableOf(void *instance)
{
    return *static_cast<VekPreviewInterface *>(static_cast<PlugInInstance *>(instance)->table);
}

} // namespace

VEK_EXPORT void *AllocQuickLookGeneratorPluginType(const VekUUIDBytes *factoryID)
{
    auto *table = new (std::nothrow) VekPreviewInterface(myInterfaceFtbl);
    if (!table)
        return nullptr;
    PlugInInstance *instance = newPlugInInstance(table, *factoryID);
    if (!instance)
        delete table;
    return instance;
}

VEK_EXPORT void DeallocQuickLookGeneratorPluginType(void *instance)
{
    delete &tableOf(instance);
    deletePlugInInstance(static_cast<PlugInInstance *>(instance));
}

VEK_EXPORT void *QuickLookGeneratorPluginFactory(void *, const VekUUIDBytes *typeID)
{
    if (!typeID || !(*typeID == *uuidFromString(VEK_PREVIEW_GENERATOR_TYPE_ID)))
        return nullptr;
    const VekUUIDBytes factory = *uuidFromString(VEK_PREVIEW_FACTORY_ID);
    return AllocQuickLookGeneratorPluginType(&factory);
}

// Only the callbacks interface is answered, not the generic one.
VEK_EXPORT VekResult QuickLookGeneratorQueryInterface(void *instance, VekUUIDBytes interfaceID, void **out)
{
    if (!(interfaceID == *uuidFromString(VEK_PREVIEW_CALLBACKS_INTERFACE_ID))) {
        *out = nullptr;
        return VEK_E_NOINTERFACE;
    }
    VekPreviewInterface &table = tableOf(instance);
    table.GenerateThumbnailForURL = GenerateThumbnailForURL;
    table.CancelThumbnailGeneration = CancelThumbnailGeneration;
    table.GeneratePreviewForURL = GeneratePreviewForURL;
    table.CancelPreviewGeneration = CancelPreviewGeneration;
    table.AddRef(instance);
    *out = instance;
    return VEK_S_OK;
}

VEK_EXPORT uint32_t QuickLookGeneratorPluginAddRef(void *instance)
{
    return plugInAddRef(static_cast<PlugInInstance *>(instance));
}

VEK_EXPORT uint32_t QuickLookGeneratorPluginRelease(void *instance)
{
    return plugInRelease(static_cast<PlugInInstance *>(instance), DeallocQuickLookGeneratorPluginType);
}

// Generation is not interruptible.
VEK_EXPORT void CancelThumbnailGeneration(void *, VekPreviewRequest *) {}
VEK_EXPORT void CancelPreviewGeneration(void *, VekPreviewRequest *) {}

// Nothing thrown while reading or drawing a file may cross into the host. The path is
// handed on as the bytes the file system holds.
VEK_EXPORT int32_t GenerateThumbnailForURL(void *, VekPreviewRequest *thumbnail, const char *path, const char *,
                                           const void *, VekPreviewSize maxSize)
{
    if (!thumbnail || !path)
        return 0;
    try {
        return generateThumbnail(*thumbnail, path, maxSize, ensureGuiContext());
    } catch (...) {
        return 0;
    }
}

VEK_EXPORT int32_t GeneratePreviewForURL(void *, VekPreviewRequest *preview, const char *path, const char *,
                                         const void *)
{
    if (!preview || !path)
        return -1;
    try {
        return generatePreview(*preview, path, ensureGuiContext());
    } catch (...) {
        return -1;
    }
}

// The instances alive for a factory, for hosts and tests that check the reference counts.
VEK_EXPORT int VekPlugInInstanceCount(const VekUUIDBytes *factoryID)
{
    return plugInInstanceCount(*factoryID);
}
