// Name matching for fields, sections and controls: ASCII letters compare without regard to case.
// NameMap finds a name by any spelling without making a lower-case copy.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vob::vb {

inline char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A copy with ASCII letters in lower case, to keep or compare names already folded.
inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Whether text ends with ending in any case, as a file name's extension is matched.
inline bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && SameName(text.substr(text.size() - ending.size()), ending);
}

// Hash and equality for maps keyed by names, so that a lookup by any spelling needs no lower-case copy.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const {
    size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-case bytes
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ull;
    return hash;
  }
};
struct NameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};
template <typename Value>
using NameMap = std::unordered_map<std::string, Value, NameHash, NameEqual>;

// The last answers of a lookup by name, kept by where the name was and checked byte for byte: handlers ask
// for the same few names on every row, mostly by the same literal, and a kept answer spares the case-blind
// hashing. Every kept answer is looked at, so that names used together (literals side by side) never push
// each other out; the oldest goes first. Not for concurrent use.
template <typename Value, size_t kSlots = 8>
class RecentNames {
 public:
  const Value* Find(std::string_view name) const {
    for (const Slot& slot : slots_) {
      if (slot.address == name.data() && slot.is_kept && slot.name == name) return &slot.value;
    }
    return nullptr;
  }
  void Keep(std::string_view name, const Value& value) {
    Slot& slot = slots_[next_];
    next_ = (next_ + 1) % kSlots;
    slot.address = name.data();
    slot.name.assign(name);
    slot.value = value;
    slot.is_kept = true;
  }
  void Clear() {
    slots_ = {};
    next_ = 0;
  }

 private:
  struct Slot {
    const char* address = nullptr;
    std::string name;
    Value value{};
    bool is_kept = false;
  };

  std::array<Slot, kSlots> slots_;
  size_t next_ = 0;
};

}  // namespace vob::vb
