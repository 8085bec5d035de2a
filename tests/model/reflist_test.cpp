#include "model/reflist.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

// Two threads build and drop small lists at once, each handing some of its lists to the other to
// drop: the reused blocks must never be shared between live lists. (The sanitizers' builds see a
// shared free list as a race or as lists that change under their owner.)
TEST(TRefListTest, ThreadsBuildAndDropListsAtOnce)
{
    std::array<int, 4> items{};
    std::vector<TRefList<int>> handedOver[2];
    const auto work = [&](int self) {
        for (int round = 0; round < 20000; ++round) {
            TRefList<int> list;
            for (int i = 0; i <= round % 4; ++i)
                list.Add(&items[static_cast<std::size_t>((self + i) % 4)]);
            for (int i = 0; i < list.Count(); ++i)
                ASSERT_EQ(list[i], &items[static_cast<std::size_t>((self + i) % 4)]);
            if (round % 100 == 0)
                handedOver[1 - self].push_back(list);
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    // Dropped by this thread: lists made by both.
    for (auto &lists : handedOver)
        lists.clear();
}

} // namespace
