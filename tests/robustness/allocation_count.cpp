// The replaced global operator new and delete of the allocation tests, and the record
// they keep while counting is switched on.
#include "tests/robustness/allocation_count.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string_view>

#include "cube/move.h"

namespace cw::robustness {
namespace {

AllocationRecord gRecord;
bool gCounting = false;
pthread_t gCountingThread{};
// Set while an allocation is being classified, so that nothing done for it is counted.
thread_local bool tClassifying = false;

// Libraries that allocate for their own purposes while the program calls into them: the
// GL driver and its shader compiler, the window system and the font libraries. The
// program's own code is linked into the test binary; the C++ library's code is the
// program's when the program called it.
constexpr std::array<std::string_view, 14> kSystemLibraries = {
    "libGL",   "libEGL",        "libGLX",      "libGLdispatch", "_dri.so", "libgallium", "libLLVM",
    "libSDL2", "libfontconfig", "libfreetype", "libX",          "libxcb",  "libwayland", "libdrm",
};

bool inSystemLibrary(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return false;
    }
    const std::string_view file = info.dli_fname;
    for (const std::string_view library : kSystemLibraries) {
        if (file.find(library) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// An allocation is the program's unless a system library is on the stack: then the
// program only called into that library, which allocated for itself.
bool madeByProgram() {
    std::array<void*, 256> frames{};
    const int depth = backtrace(frames.data(), static_cast<int>(frames.size()));
    for (int i = 0; i < depth; ++i) {
        if (inSystemLibrary(frames[static_cast<std::size_t>(i)])) {
            return false;
        }
    }
    return true;
}

void* allocate(std::size_t size, std::size_t alignment) {
    // The program is single-threaded; other threads belong to the GL driver.
    if (gCounting && !tClassifying && pthread_equal(pthread_self(), gCountingThread) != 0) {
        tClassifying = true;
        if (madeByProgram()) {
            gRecord.note(size);
        }
        tClassifying = false;
    }
    const std::size_t bytes = size == 0 ? 1 : size;
    if (alignment > alignof(std::max_align_t)) {
        // aligned_alloc wants a multiple of the alignment.
        return std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment);
    }
    return std::malloc(bytes);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    void* memory = allocate(size, alignment);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

void AllocationRecord::clear() {
    distinct = 0;
    total = 0;
    overflowed = false;
}

void AllocationRecord::note(std::size_t size) {
    ++total;
    for (std::size_t i = 0; i < distinct; ++i) {
        if (sizes[i] == size) {
            ++counts[i];
            return;
        }
    }
    if (distinct == kMaxSizes) {
        overflowed = true;
        return;
    }
    sizes[distinct] = size;
    counts[distinct] = 1;
    ++distinct;
}

std::size_t AllocationRecord::countOf(std::size_t size) const {
    for (std::size_t i = 0; i < distinct; ++i) {
        if (sizes[i] == size) {
            return counts[i];
        }
    }
    return 0;
}

CountingScope::CountingScope() {
    gCountingThread = pthread_self();
    // The first backtrace loads the unwinder; let that happen before counting starts.
    std::array<void*, 1> frame{};
    backtrace(frame.data(), 1);
    gRecord.clear();
    gCounting = true;
}

CountingScope::~CountingScope() {
    gCounting = false;
}

AllocationRecord CountingScope::record() {
    return gRecord;
}

std::string describe(const AllocationRecord& record) {
    std::ostringstream text;
    for (std::size_t i = 0; i < record.distinct; ++i) {
        text << record.counts[i] << " x " << record.sizes[i] << " bytes; ";
    }
    if (record.overflowed) {
        text << "and more sizes than the table holds";
    }
    return text.str();
}

std::size_t moveListNodeSize() {
    MoveList list;
    AllocationRecord seen;
    {
        CountingScope scope;
        list.push_back(Move(0, true));
        seen = CountingScope::record();
    }
    return seen.total == 1 ? seen.sizes[0] : 0;
}

} // namespace cw::robustness

using cw::robustness::allocate;
using cw::robustness::allocateOrThrow;

void* operator new(std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
