// The handles a host holds for the library's objects: numbers, never reused, looked up under a lock.
// A released or stray handle is found out without reading memory through it; every lookup pays one lock.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace vob {

template <typename Object>
class HandleTable {
 public:
  // A new handle for object. Handles are odd, so that no aligned address a careless host passes is one.
  uintptr_t Add(std::shared_ptr<Object> object) {
    std::lock_guard lock(mutex_);
    const uintptr_t handle = (++last_serial_ << 4) | 0x5;
    objects_.emplace(handle, std::move(object));
    return handle;
  }

  // The object, shared so that a release from another thread cannot free it under its user; null when the
  // handle is not live.
  std::shared_ptr<Object> Find(uintptr_t handle) const {
    std::lock_guard lock(mutex_);
    const auto found = objects_.find(handle);
    return found == objects_.end() ? nullptr : found->second;
  }

  // Forgets the handle and gives the object back (freed when its last user lets go); null when not live.
  std::shared_ptr<Object> Remove(uintptr_t handle) {
    std::lock_guard lock(mutex_);
    const auto found = objects_.find(handle);
    if (found == objects_.end()) return nullptr;
    std::shared_ptr<Object> object = std::move(found->second);
    objects_.erase(found);
    return object;
  }

 private:
  mutable std::mutex mutex_;
  uintptr_t last_serial_ = 0;
  std::unordered_map<uintptr_t, std::shared_ptr<Object>> objects_;
};

}  // namespace vob
