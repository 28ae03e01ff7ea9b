#include "plugins/shim/plugin_binding.h"

#include <cstring>
#include <map>
#include <mutex>
#include <new>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct UUIDLess {
    bool operator()(const VekUUIDBytes &a, const VekUUIDBytes &b) const
    {
        return std::memcmp(a.byte, b.byte, sizeof a.byte) < 0;
    }
};

std::mutex registryMutex;
std::map<VekUUIDBytes, int, UUIDLess> &registry()
{
    static std::map<VekUUIDBytes, int, UUIDLess> instances;
    return instances;
}

} // namespace

std::optional<VekUUIDBytes> uuidFromString(std::string_view text)
{
    if (text.size() != 36)
        return std::nullopt;
    VekUUIDBytes uuid{};
    int n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        uuid.byte[n++] = uint8_t(high * 16 + low);
        ++i;
    }
    return uuid;
}

bool operator==(const VekUUIDBytes &a, const VekUUIDBytes &b)
{
    return std::memcmp(a.byte, b.byte, sizeof a.byte) == 0;
}

VekUUIDBytes unknownInterfaceID()
{
    return *uuidFromString("00000000-0000-0000-C000-000000000046");
}

void PlugInAddInstanceForFactory(const VekUUIDBytes &factory)
{
    std::lock_guard lock(registryMutex);
    ++registry()[factory];
}

void PlugInRemoveInstanceForFactory(const VekUUIDBytes &factory)
{
    std::lock_guard lock(registryMutex);
    auto found = registry().find(factory);
    if (found != registry().end() && --found->second <= 0)
        registry().erase(found);
}

int plugInInstanceCount(const VekUUIDBytes &factory)
{
    std::lock_guard lock(registryMutex);
    const auto found = registry().find(factory);
    return found == registry().end() ? 0 : found->second;
}

PlugInInstance *newPlugInInstance(void *table, const VekUUIDBytes &factory)
{
    auto *instance = new (std::nothrow) PlugInInstance;
    if (!instance)
        return nullptr;
    instance->table = table;
    instance->factory = factory;
    PlugInAddInstanceForFactory(factory);
    return instance;
}

void deletePlugInInstance(PlugInInstance *instance)
{
    // The factory is taken before the record goes, so it is never read from freed memory.
    const std::optional<VekUUIDBytes> factory = instance->factory;
    delete instance;
    if (factory)
        PlugInRemoveInstanceForFactory(*factory);
}

uint32_t plugInAddRef(PlugInInstance *instance)
{
    return uint32_t(++instance->refCount);
}

uint32_t plugInRelease(PlugInInstance *instance, void (*dealloc)(void *instance))
{
    const int32_t count = --instance->refCount;
    if (count == 0)
        dealloc(instance);
    return uint32_t(count);
}
