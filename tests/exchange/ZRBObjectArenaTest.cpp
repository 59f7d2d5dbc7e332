// The memory behind a manager's objects.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "ZRBObjectArena.h"

namespace {
bool Aligned(void* p, std::size_t alignment) { return reinterpret_cast<std::uintptr_t>(p) % alignment == 0; }

TEST(ZRBObjectArena, HandsOutAlignedDisjointMemoryAndReusesItAfterReset) {
  ZRBObjectArena arena;
  struct Request {
    std::size_t bytes, alignment;
  };
  const Request requests[] = {{1, 1},     {24, 8},  {3, 1},       {100, 16}, {5000, 8},
                              {70000, 8}, {64, 64}, {300000, 16}, {8, 8},    {1, 1}};
  std::vector<void*> first;
  for (int round = 0; round < 2; ++round) {
    std::vector<void*> given;
    for (const Request& r : requests) {
      void* p = arena.allocate(r.bytes, r.alignment);
      ASSERT_TRUE(Aligned(p, r.alignment)) << r.bytes;
      std::memset(p, round + 1, r.bytes);  // ASan catches overlap with a block's end
      given.push_back(p);
    }
    // Every request still holds its own bytes: nothing overlaps.
    for (std::size_t i = 0; i < given.size(); ++i)
      EXPECT_EQ(static_cast<unsigned char*>(given[i])[requests[i].bytes - 1], round + 1) << i;
    if (round == 0) first = given;
    arena.Reset();
  }
  // The same small requests land where they did before (kept blocks).
  void* again = arena.allocate(1, 1);
  EXPECT_EQ(again, first[0]);
}

}  // namespace
