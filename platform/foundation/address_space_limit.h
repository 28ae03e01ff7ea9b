// Capping the address space of the process, for programs and tests that must stay within a
// memory bound whatever their input.
#pragma once

#include <sys/resource.h>

// AddressSanitizer reserves terabytes of address space for its shadow memory when the
// process starts, and every allocation after a cap below that fails: under it the cap is
// left out (the sanitizer's run keeps its time bounds).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool AddressSpaceLimitApplies = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool AddressSpaceLimitApplies = false;
#else
inline constexpr bool AddressSpaceLimitApplies = true;
#endif
#else
inline constexpr bool AddressSpaceLimitApplies = true;
#endif

// Caps the address space at `bytes` (soft and hard limit); true when the cap is in force.
inline bool limitAddressSpace(rlim_t bytes)
{
    if constexpr (!AddressSpaceLimitApplies)
        return false;
    const rlimit cap{bytes, bytes};
    return setrlimit(RLIMIT_AS, &cap) == 0;
}
