#pragma once
// The arrays MEM Read, Write and Read/Write stream over. Making them is the slow part (the
// kernel zeroes every page on first touch), so one arena is made per MEM test and kept for all
// of its calls; each call shares it out among its workers.

#include <cstddef>
#include <cstdint>

namespace velora::engine {

// Bytes of each streaming array: four times the last-level caches, never below 80 MB, and never
// above an eighth of the memory (unknown figures are 0 and bound nothing).
inline constexpr size_t kStreamArrayFloorBytes = 80'000'000;
size_t PlanStreamArrayBytes(uint64_t lastLevelCacheBytes, uint64_t physicalBytes);

// A worker's share never drops below this, so that many processors together still stream far
// more than their caches hold.
inline constexpr size_t kStreamShareFloorBytes = 8'000'000;
// Bytes of each array a call on `workers` workers streams over, whole huge pages.
size_t StreamArrayBytes(size_t plannedBytes, int workers,
                        size_t shareFloorBytes = kStreamShareFloorBytes);

// One worker's part of the arrays.
struct StreamSlice {
  uint64_t* source = nullptr;
  uint64_t* destination = nullptr;  // the copy's only
  size_t elements = 0;
  // Index of source[0] in the whole array: the filled pattern runs on across the slices.
  size_t firstIndex = 0;
  // Left in place by an earlier call: nothing to touch or fill again.
  bool sourceTouched = false;
  bool sourceFilled = false;
  bool destinationTouched = false;
};

class StreamArena {
 public:
  explicit StreamArena(size_t plannedBytes, size_t shareFloorBytes = kStreamShareFloorBytes)
      : plannedBytes_(plannedBytes), shareFloorBytes_(shareFloorBytes) {}
  ~StreamArena() { Release(); }
  StreamArena(const StreamArena&) = delete;
  StreamArena& operator=(const StreamArena&) = delete;

  // Makes the arrays a call on `workers` workers needs (the copy needs two); false when the
  // memory is refused. Pages are touched by the workers, each its own slice.
  bool Reserve(bool withDestination, int workers);
  StreamSlice Slice(int worker) const;
  // After a call whose every check passed: its workers touched every page they use, filled an
  // untouched source (and a read's source) with the pattern, and a write overwrote it.
  void KeepPrepared(bool readsPattern, bool overwritesSource);
  void Release();

  size_t ArrayBytes() const { return bytes_; }
  bool Held() const { return source_ != nullptr; }

 private:
  const size_t plannedBytes_;
  const size_t shareFloorBytes_;
  size_t bytes_ = 0;
  int workers_ = 0;
  uint64_t* source_ = nullptr;
  uint64_t* destination_ = nullptr;
  bool sourceTouched_ = false;
  bool sourceFilled_ = false;
  bool destinationTouched_ = false;
};

}  // namespace velora::engine
