// The hand-over between the run's drawing threads and the thread that commits their frames:
// indices given out in order, items made in any order and taken back strictly in order, with
// a fixed number of slots bounding how many are in flight.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

namespace kinetta::render {

/// Items 0 .. count - 1 made by several workers and taken by one consumer in index order. An
/// item holds one of `slots` slots from the moment a worker takes its index until the consumer
/// releases it, so at most that many are in flight; a slot is held by one item at a time, and
/// whatever the caller keeps per slot belongs to that item's holder alone.
class OrderedQueue {
 public:
  struct Ticket {
    int index;
    int slot;
  };

  OrderedQueue(int count, int slots);

  /// Worker: the next index with a free slot, waiting for a slot; nothing once every index has
  /// been given out or the queue has stopped.
  std::optional<Ticket> Take();

  /// Worker: the ticket's item is made; the consumer may take it.
  void Put(Ticket ticket);

  /// Consumer: the ticket of the next index, once its item is made; nothing once the queue has
  /// stopped.
  std::optional<Ticket> Next();

  /// Consumer: done with the item in `slot`; the slot may take another index.
  void Release(int slot);

  /// Wakes every waiter; Take and Next give nothing from now on. The first error given is kept
  /// for the caller to pass on once every thread has ended.
  void Stop(std::exception_ptr error = nullptr);

  /// True once Stop was called; readable without waiting.
  bool stopped() const { return stopped_; }

  /// The first error Stop was given, or null.
  std::exception_ptr error() const;

 private:
  const int count_;
  mutable std::mutex m_;
  std::condition_variable changed_;
  std::vector<int> free_;    // the slots no item holds
  std::vector<bool> made_;   // per slot: its item is made and not yet taken
  std::vector<int> holder_;  // per slot: the index of the item holding it
  int nextIndex_ = 0;        // the next index to give out
  int nextTaken_ = 0;        // the next index the consumer takes
  std::atomic<bool> stopped_{false};
  std::exception_ptr error_;
};

}  // namespace kinetta::render
