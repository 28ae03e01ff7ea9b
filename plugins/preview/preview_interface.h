// The preview plug-in's C interface as hosts see it: the generator type, the callbacks
// interface, the interface table and the request a generation answers into.
#pragma once

#include "plugins/shim/plugin_binding.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VEK_PREVIEW_GENERATOR_TYPE_ID "5E2D9680-5022-40FA-B806-43349622E5B9"
#define VEK_PREVIEW_CALLBACKS_INTERFACE_ID "865AF5E0-6D30-4345-951B-D37105754F2D"
#define VEK_PREVIEW_FACTORY_ID "6BD8324E-EC94-497E-9BED-615ED766D7DB"

// The host's request: the generation hands its answer, the bytes and their content type
// ("com.adobe.pdf" or "public.png"), at most once; no call means no preview.
typedef struct VekPreviewRequest {
    void *host;
    void (*setDataRepresentation)(struct VekPreviewRequest *request, const char *bytes, size_t length,
                                  const char *contentType);
} VekPreviewRequest;

typedef struct VekPreviewSize {
    double width, height;
} VekPreviewSize;

typedef struct VekPreviewInterface {
    void *reserved;
    VekResult (*QueryInterface)(void *instance, VekUUIDBytes interfaceID, void **out);
    uint32_t (*AddRef)(void *instance);
    uint32_t (*Release)(void *instance);
    // Page 1 fitted into the maximum size (its page size when the size is 0).
    int32_t (*GenerateThumbnailForURL)(void *instance, VekPreviewRequest *thumbnail, const char *path,
                                       const char *contentType, const void *options, VekPreviewSize maxSize);
    void (*CancelThumbnailGeneration)(void *instance, VekPreviewRequest *thumbnail);
    int32_t (*GeneratePreviewForURL)(void *instance, VekPreviewRequest *preview, const char *path,
                                     const char *contentType, const void *options);
    void (*CancelPreviewGeneration)(void *instance, VekPreviewRequest *preview);
} VekPreviewInterface;

#ifdef __cplusplus
}
#endif
