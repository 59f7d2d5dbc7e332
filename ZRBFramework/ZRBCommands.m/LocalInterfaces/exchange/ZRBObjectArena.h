// Memory for the objects of one manager: blocks handed out front to back and
// kept when the manager is cleared, so reading an answer again reuses the
// same pages instead of faulting in fresh ones. Blocks start small (most
// requests are a few objects) and double up to a limit.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

class ZRBObjectArena : public std::pmr::memory_resource {
 public:
  static constexpr std::size_t kFirstBlockBytes = 4 * 1024;
  static constexpr std::size_t kLargestBlockBytes = 1024 * 1024;
  // Requests above this get memory of their own, given back by Reset.
  static constexpr std::size_t kOversizedBytes = 64 * 1024;

  ZRBObjectArena() = default;
  ZRBObjectArena(const ZRBObjectArena&) = delete;
  ZRBObjectArena& operator=(const ZRBObjectArena&) = delete;

  // Everything handed out becomes free again. Regular blocks are kept for
  // reuse; oversized allocations are given back.
  void Reset();

 private:
  struct Block {
    std::unique_ptr<std::byte[]> memory;
    std::size_t bytes;
  };

  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  // Single allocations are never given back; Reset frees them all at once.
  void do_deallocate(void*, std::size_t, std::size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::vector<Block> blocks_;
  std::vector<std::unique_ptr<std::byte[]>> oversized_;
  std::size_t current_ = 0;  // block being filled (== blocks_.size() before the first)
  std::size_t used_ = 0;     // bytes used in it
};
