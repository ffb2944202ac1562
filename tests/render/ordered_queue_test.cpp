// The ordered hand-over: items made out of order are taken in order, a stop wakes every waiter,
// and no more items are ever in flight than there are slots.
#include "render/ordered_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kinetta::render {
namespace {

using Ticket = OrderedQueue::Ticket;

TEST(OrderedQueue, ItemsMadeOutOfOrderAreTakenInOrder) {
  OrderedQueue queue(3, 3);
  std::vector<Ticket> tickets;
  for (int i = 0; i < 3; ++i) tickets.push_back(queue.Take().value());
  EXPECT_FALSE(queue.Take()) << "every index is given out";
  std::vector<int> taken;
  std::jthread consumer([&] {
    while (taken.size() < 3) taken.push_back(queue.Next().value().index);
  });
  for (const int i : {2, 0, 1}) queue.Put(tickets[static_cast<std::size_t>(i)]);
  consumer.join();
  EXPECT_EQ(taken, (std::vector<int>{0, 1, 2}));
}

TEST(OrderedQueue, StopWakesEveryWaiterAndKeepsTheFirstError) {
  OrderedQueue queue(5, 1);
  ASSERT_TRUE(queue.Take());  // the only slot, never put
  std::optional<Ticket> taken = Ticket{}, next = Ticket{};
  {
    std::jthread worker([&] { taken = queue.Take(); });   // waits for a slot
    std::jthread consumer([&] { next = queue.Next(); });  // waits for item 0
    queue.Stop(std::make_exception_ptr(std::runtime_error("first")));
    queue.Stop(std::make_exception_ptr(std::runtime_error("second")));
  }
  EXPECT_FALSE(taken);
  EXPECT_FALSE(next);
  const std::exception_ptr error = queue.error();
  ASSERT_TRUE(error);
  try {
    std::rethrow_exception(error);
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "first");
  }
}

TEST(OrderedQueue, NeverMoreInFlightThanSlotsAndEachSlotHeldOnce) {
  constexpr int kItems = 500, kSlots = 2;
  OrderedQueue queue(kItems, kSlots);
  std::atomic<int> inFlight{0}, most{0}, clashes{0};
  std::atomic<bool> held[kSlots] = {};
  std::vector<std::jthread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&] {
      while (const std::optional<Ticket> t = queue.Take()) {
        const int now = ++inFlight;
        for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        if (held[t->slot].exchange(true)) ++clashes;
        queue.Put(*t);
      }
    });
  }
  std::vector<int> taken;
  for (int i = 0; i < kItems; ++i) {
    const std::optional<Ticket> t = queue.Next();
    taken.push_back(t.value().index);
    held[t->slot] = false;
    --inFlight;
    queue.Release(t->slot);
  }
  workers.clear();
  std::vector<int> expected(kItems);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(taken, expected);
  EXPECT_LE(most, kSlots);
  EXPECT_EQ(clashes, 0);
}

}  // namespace
}  // namespace kinetta::render
