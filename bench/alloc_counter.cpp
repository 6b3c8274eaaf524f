// alloc_counter.cpp: the counting allocator entry points behind alloc_counter.h.
#include "bench/alloc_counter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(__SANITIZE_MEMORY__)
#define QUIRN_SANITIZER_OWNS_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define QUIRN_SANITIZER_OWNS_MALLOC 1
#endif
#endif

namespace {

// Plain data with constant initialisation: safe to touch from inside the allocator, on any
// thread, at any time of the process's life.
struct ThreadCount {
    bool on;
    long long allocations;
    long long frees;
    long long bytes;
};
thread_local ThreadCount t_count{};

inline void NoteAllocation(std::size_t size) {
    if (t_count.on) {
        ++t_count.allocations;
        t_count.bytes += static_cast<long long>(size);
    }
}

inline void NoteFree(const void* block) {
    if (t_count.on && block != nullptr) {
        ++t_count.frees;
    }
}

}  // namespace

namespace quirn::bench {

void StartCountingAllocations() {
    t_count = ThreadCount{true, 0, 0, 0};
}

AllocationCount StopCountingAllocations() {
    t_count.on = false;
    return {t_count.allocations, t_count.frees, t_count.bytes};
}

bool CountsMalloc() {
#ifdef QUIRN_SANITIZER_OWNS_MALLOC
    return false;
#else
    return true;
#endif
}

}  // namespace quirn::bench

#ifndef QUIRN_SANITIZER_OWNS_MALLOC

// The C library's own allocator, under the names it exports for programs that wrap it. Every
// allocation, operator new's included, passes through the definitions below.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) noexcept {
    NoteAllocation(size);
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    NoteAllocation(count * size);
    return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size) noexcept {
    // Growing or shrinking in place still counts: the caller asked the allocator for memory.
    if (block == nullptr || size != 0) {
        NoteAllocation(size);
    }
    if (size == 0) {
        NoteFree(block);
    }
    return __libc_realloc(block, size);
}

void free(void* block) noexcept {
    NoteFree(block);
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    NoteAllocation(size);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    NoteAllocation(size);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return 22;  // EINVAL
    }
    NoteAllocation(size);
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr) {
        return 12;  // ENOMEM
    }
    *result = block;
    return 0;
}

}  // extern "C"

#else  // the sanitizer's runtime owns malloc: count at operator new and delete instead

namespace {

void* CountedNew(std::size_t size) {
    NoteAllocation(size);
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* CountedAlignedNew(std::size_t size, std::align_val_t alignment) {
    NoteAllocation(size);
    const std::size_t align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void CountedDelete(void* block) noexcept {
    NoteFree(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedNew(size);
}
void* operator new[](std::size_t size) {
    return CountedNew(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return CountedAlignedNew(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return CountedAlignedNew(size, alignment);
}
void operator delete(void* block) noexcept {
    CountedDelete(block);
}
void operator delete[](void* block) noexcept {
    CountedDelete(block);
}
void operator delete(void* block, std::size_t) noexcept {
    CountedDelete(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    CountedDelete(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    CountedDelete(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    CountedDelete(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    CountedDelete(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    CountedDelete(block);
}

#endif
