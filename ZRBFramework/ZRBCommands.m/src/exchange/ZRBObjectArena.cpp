#include "ZRBObjectArena.h"

#include <cstdint>

namespace {
std::size_t AlignUp(std::size_t offset, std::size_t alignment) { return (offset + alignment - 1) & ~(alignment - 1); }
}  // namespace

void ZRBObjectArena::Reset() {
  oversized_.clear();
  current_ = 0;
  used_ = 0;
}

void* ZRBObjectArena::do_allocate(std::size_t bytes, std::size_t alignment) {
  if (bytes > kBlockBytes / 4 || alignment > alignof(std::max_align_t)) {
    // Large buffers (a long value's growth) get memory of their own.
    oversized_.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes + alignment));
    const auto raw = reinterpret_cast<std::uintptr_t>(oversized_.back().get());
    return oversized_.back().get() + (AlignUp(raw, alignment) - raw);
  }
  // Blocks come from new[], aligned for any fundamental type.
  std::size_t offset = AlignUp(used_, alignment);
  if (current_ >= blocks_.size() || offset + bytes > kBlockBytes) {
    if (current_ < blocks_.size()) ++current_;  // the block being filled is full
    if (current_ == blocks_.size()) blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(kBlockBytes));
    offset = 0;
  }
  used_ = offset + bytes;
  return blocks_[current_].get() + offset;
}
