// Polymorphic memory resources for the cube's move lists (cube/move.h, cube/move_list_pool.h),
// as cw::pmr: the standard library's, or where its <memory_resource> is missing (the libc++
// of the WebAssembly toolchain) the same classes from its <experimental/memory_resource>.
#pragma once

#if __has_include(<memory_resource>)
#include <memory_resource>
namespace cw::pmr {
using std::pmr::memory_resource;
using std::pmr::new_delete_resource;
using std::pmr::polymorphic_allocator;
} // namespace cw::pmr
#else
#include <experimental/memory_resource>
namespace cw::pmr {
using std::experimental::pmr::memory_resource;
using std::experimental::pmr::new_delete_resource;
using std::experimental::pmr::polymorphic_allocator;
} // namespace cw::pmr
#endif
