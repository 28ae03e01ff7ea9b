// The binding our plug-in libraries share with their hosts: 16-byte interface and factory
// identifiers, result codes, the generic interface's leading slots and the record of the
// instances made per factory. C-compatible, so that any host can load the libraries.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VekUUIDBytes {
    uint8_t byte[16];
} VekUUIDBytes;

typedef int32_t VekResult;
#define VEK_S_OK ((VekResult)0)
#define VEK_E_NOINTERFACE ((VekResult)0x80000004)

// The slots every interface table starts with: reserved, query, add-ref and release.
typedef struct VekUnknownTable {
    void *reserved;
    VekResult (*QueryInterface)(void *instance, VekUUIDBytes interfaceID, void **out);
    uint32_t (*AddRef)(void *instance);
    uint32_t (*Release)(void *instance);
} VekUnknownTable;

// A plug-in's factory: an instance (its first field points at its interface table) for the
// type the plug-in offers, null for any other.
typedef void *(*VekPlugInFactoryFunction)(void *allocator, const VekUUIDBytes *typeID);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#include <optional>
#include <string_view>

// The identifier written as "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"; absent when malformed.
std::optional<VekUUIDBytes> uuidFromString(std::string_view text);
bool operator==(const VekUUIDBytes &a, const VekUUIDBytes &b);

// The generic unknown interface, 00000000-0000-0000-C000-000000000046.
VekUUIDBytes unknownInterfaceID();

// The instances alive per factory, as a plug-in service keeps them: each instance is
// added when it is made and removed when it is freed.
void PlugInAddInstanceForFactory(const VekUUIDBytes &factory);
void PlugInRemoveInstanceForFactory(const VekUUIDBytes &factory);
int plugInInstanceCount(const VekUUIDBytes &factory);
#endif

#ifdef __cplusplus
#include <atomic>

// An instance as the plug-ins make them: the interface table first (the host calls through
// it), the factory it was registered under, and its reference count (atomic: hosts may
// add and release references from several threads).
struct PlugInInstance {
    void *table = nullptr;
    std::optional<VekUUIDBytes> factory;
    std::atomic<int32_t> refCount{1};
};

// A new instance with a count of 1, registered for the factory; null when out of memory.
PlugInInstance *newPlugInInstance(void *table, const VekUUIDBytes &factory);
// Unregisters the instance from its factory and frees it (the table is the caller's).
void deletePlugInInstance(PlugInInstance *instance);
// The count after adding one; after taking one away, with `dealloc` called at 0.
uint32_t plugInAddRef(PlugInInstance *instance);
uint32_t plugInRelease(PlugInInstance *instance, void (*dealloc)(void *instance));
#endif
