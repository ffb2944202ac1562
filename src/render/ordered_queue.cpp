// The ordered hand-over: one mutex and one condition that every change wakes all waiters on
// (there are a few threads and a few slots, so nobody waits long for the wrong wake-up).
#include "render/ordered_queue.h"

#include <utility>

namespace kinetta::render {

OrderedQueue::OrderedQueue(int count, int slots)
    : count_(count),
      made_(static_cast<std::size_t>(slots), false),
      holder_(static_cast<std::size_t>(slots), -1) {
  for (int slot = slots - 1; slot >= 0; --slot) free_.push_back(slot);
}

std::optional<OrderedQueue::Ticket> OrderedQueue::Take() {
  std::unique_lock lock(m_);
  changed_.wait(lock, [&] { return stopped_ || nextIndex_ >= count_ || !free_.empty(); });
  if (stopped_ || nextIndex_ >= count_) return std::nullopt;
  const int slot = free_.back();
  free_.pop_back();
  holder_[static_cast<std::size_t>(slot)] = nextIndex_;
  return Ticket{nextIndex_++, slot};
}

void OrderedQueue::Put(Ticket ticket) {
  {
    std::lock_guard lock(m_);
    made_[static_cast<std::size_t>(ticket.slot)] = true;
  }
  changed_.notify_all();
}

std::optional<OrderedQueue::Ticket> OrderedQueue::Next() {
  std::unique_lock lock(m_);
  std::optional<Ticket> next;
  changed_.wait(lock, [&] {
    for (std::size_t slot = 0; slot < holder_.size() && !stopped_; ++slot) {
      if (holder_[slot] == nextTaken_ && made_[slot])
        next = Ticket{nextTaken_, static_cast<int>(slot)};
    }
    return stopped_ || next.has_value();
  });
  if (stopped_) return std::nullopt;
  made_[static_cast<std::size_t>(next->slot)] = false;
  ++nextTaken_;
  return next;
}

void OrderedQueue::Release(int slot) {
  {
    std::lock_guard lock(m_);
    holder_[static_cast<std::size_t>(slot)] = -1;
    free_.push_back(slot);
  }
  changed_.notify_all();
}

void OrderedQueue::Stop(std::exception_ptr error) {
  {
    std::lock_guard lock(m_);
    if (!error_) error_ = std::move(error);
    stopped_ = true;
  }
  changed_.notify_all();
}

std::exception_ptr OrderedQueue::error() const {
  std::lock_guard lock(m_);
  return error_;
}

}  // namespace kinetta::render
