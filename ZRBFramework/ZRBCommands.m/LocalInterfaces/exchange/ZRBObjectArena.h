// Memory for the objects of one manager: blocks handed out front to back and
// kept when the manager is cleared, so reading an answer again reuses the
// same pages instead of faulting in fresh ones.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

class ZRBObjectArena : public std::pmr::memory_resource {
 public:
  static constexpr std::size_t kBlockBytes = 1024 * 1024;

  ZRBObjectArena() = default;
  ZRBObjectArena(const ZRBObjectArena&) = delete;
  ZRBObjectArena& operator=(const ZRBObjectArena&) = delete;

  // Everything handed out becomes free again. Regular blocks are kept for
  // reuse; oversized ones are given back.
  void Reset();

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  // Single allocations are never given back; Reset frees them all at once.
  void do_deallocate(void*, std::size_t, std::size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::vector<std::unique_ptr<std::byte[]>> blocks_;     // kBlockBytes each
  std::vector<std::unique_ptr<std::byte[]>> oversized_;  // one request each
  std::size_t current_ = 0;                              // block being filled
  std::size_t used_ = 0;                                 // bytes used in it
};
