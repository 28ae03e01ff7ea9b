// The metadata importer's C interface as hosts see it: the importer type and interface
// identifiers, the interface table and the attribute set the import fills.
#pragma once

#include "plugins/shim/plugin_binding.h"

#include <stdbool.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VEK_IMPORTER_TYPE_ID "8B08C4BF-415B-11D8-B3F9-0003936726FC"
#define VEK_IMPORTER_INTERFACE_ID "6EBC27C4-899C-11D8-84AE-0003936726FC"
#define VEK_IMPORTER_FACTORY_ID "8D0077B5-FA9E-49E1-AFCB-C7183CBAFD0B"

// The attributes found in a file, handed to the host one by one ("kMDItemTitle", ...;
// values in UTF-8). Authors and keywords are lists.
typedef struct VekMetadataAttributes {
    void *host;
    void (*setString)(struct VekMetadataAttributes *attributes, const char *key, const char *value);
    void (*setStrings)(struct VekMetadataAttributes *attributes, const char *key, const char *const *values,
                       size_t count);
} VekMetadataAttributes;

typedef struct VekImporterInterface {
    void *reserved;
    VekResult (*QueryInterface)(void *instance, VekUUIDBytes interfaceID, void **out);
    uint32_t (*AddRef)(void *instance);
    uint32_t (*Release)(void *instance);
    bool (*ImportFromFile)(void *instance, VekMetadataAttributes *attributes, const char *contentType,
                           const char *path);
} VekImporterInterface;

#ifdef __cplusplus
}
#endif
