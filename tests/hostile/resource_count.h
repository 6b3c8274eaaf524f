// resource_count.h: what a long run of exchanges must give back: open file descriptors and heap
// bytes in use, counted the same way in plain and sanitizer builds.
#pragma once

#include <dirent.h>

#include <cstddef>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUIRN_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUIRN_SANITIZER_HEAP 1
#endif
#endif

#ifdef QUIRN_SANITIZER_HEAP
// The sanitizer runtimes export it; GCC installs no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace lumora::testing_support {

struct ResourceCount {
    int descriptors = 0;
    std::size_t heap_bytes = 0;

    std::string Text() const {
        return std::to_string(descriptors) + " descriptors, " + std::to_string(heap_bytes) +
               " heap bytes";
    }
};

inline int OpenDescriptors() {
    int count = 0;
    if (DIR* directory = opendir("/proc/self/fd")) {
        while (readdir(directory) != nullptr) {
            ++count;
        }
        closedir(directory);
    }
    return count;
}

// Bytes the program has allocated and not freed (the sanitizer's own count where one replaces
// the allocator, whose figures glibc cannot see).
inline std::size_t HeapBytesInUse() {
#ifdef QUIRN_SANITIZER_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

inline ResourceCount CountResources() {
    return {OpenDescriptors(), HeapBytesInUse()};
}

}  // namespace lumora::testing_support
