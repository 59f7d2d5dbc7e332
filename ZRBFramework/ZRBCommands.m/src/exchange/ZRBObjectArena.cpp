#include "ZRBObjectArena.h"

#include <algorithm>
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
  if (bytes > kOversizedBytes || alignment > alignof(std::max_align_t)) {
    oversized_.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes + alignment));
    const auto raw = reinterpret_cast<std::uintptr_t>(oversized_.back().get());
    return oversized_.back().get() + (AlignUp(raw, alignment) - raw);
  }
  // Blocks come from new[], aligned for any fundamental type.
  std::size_t offset = AlignUp(used_, alignment);
  while (current_ >= blocks_.size() || offset + bytes > blocks_[current_].bytes) {
    if (current_ < blocks_.size()) ++current_;  // full, or too small for this request
    offset = 0;
    if (current_ == blocks_.size()) {
      const std::size_t grown =
          blocks_.empty() ? kFirstBlockBytes : std::min(kLargestBlockBytes, 2 * blocks_.back().bytes);
      const std::size_t size = std::max(grown, bytes);
      blocks_.push_back(Block{std::make_unique_for_overwrite<std::byte[]>(size), size});
    }
  }
  used_ = offset + bytes;
  return blocks_[current_].memory.get() + offset;
}
