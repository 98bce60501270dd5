#include "engine/stream_arena.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>

namespace velora::engine {
namespace {

// Huge pages: far fewer faults when the arrays are first touched, and fewer TLB misses in the
// timed runs.
constexpr size_t kHugePage = 2u << 20;
// Slices start on page boundaries, so that each worker first touches pages of its own.
constexpr size_t kPageElements = 4096 / sizeof(uint64_t);

uint64_t* AllocateAdvised(size_t bytes) {
  void* p = std::aligned_alloc(kHugePage, bytes);
  // Only advice: where transparent huge pages are off the arrays still work, with small pages.
  if (p != nullptr) madvise(p, bytes, MADV_HUGEPAGE);
  return static_cast<uint64_t*>(p);
}

}  // namespace

size_t PlanStreamArrayBytes(uint64_t lastLevelCacheBytes, uint64_t physicalBytes) {
  uint64_t bytes = std::max<uint64_t>(4 * lastLevelCacheBytes, kStreamArrayFloorBytes);
  if (physicalBytes > 0) bytes = std::min<uint64_t>(bytes, physicalBytes / 8);
  return static_cast<size_t>(bytes);
}

size_t StreamArrayBytes(size_t plannedBytes, int workers, size_t shareFloorBytes) {
  const size_t bytes = std::max(plannedBytes, shareFloorBytes * static_cast<size_t>(std::max(workers, 1)));
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

bool StreamArena::Reserve(bool withDestination, int workers) {
  const size_t wanted = StreamArrayBytes(plannedBytes_, workers, shareFloorBytes_);
  if (wanted != bytes_) Release();
  bytes_ = wanted;
  workers_ = std::max(workers, 1);
  if (source_ == nullptr) source_ = AllocateAdvised(bytes_);
  if (withDestination && destination_ == nullptr) destination_ = AllocateAdvised(bytes_);
  if (source_ != nullptr && (!withDestination || destination_ != nullptr)) return true;
  Release();
  return false;
}

StreamSlice StreamArena::Slice(int worker) const {
  // Page-aligned bounds that cover the whole array for any worker count, so that what one call
  // filled is all there for the next, however many workers it has.
  const size_t pages = bytes_ / sizeof(uint64_t) / kPageElements;
  auto bound = [&](int w) { return pages * static_cast<size_t>(w) / static_cast<size_t>(workers_) * kPageElements; };
  StreamSlice s;
  s.firstIndex = bound(worker);
  s.elements = bound(worker + 1) - s.firstIndex;
  s.source = source_ + s.firstIndex;
  if (destination_ != nullptr) s.destination = destination_ + s.firstIndex;
  s.sourceTouched = sourceTouched_;
  s.sourceFilled = sourceFilled_;
  s.destinationTouched = destinationTouched_;
  return s;
}

void StreamArena::KeepPrepared(bool readsPattern, bool overwritesSource) {
  sourceFilled_ = !overwritesSource && (sourceFilled_ || !sourceTouched_ || readsPattern);
  sourceTouched_ = true;
  destinationTouched_ = destination_ != nullptr;
}

void StreamArena::Release() {
  std::free(source_);
  std::free(destination_);
  source_ = destination_ = nullptr;
  bytes_ = 0;
  workers_ = 0;
  sourceTouched_ = sourceFilled_ = destinationTouched_ = false;
}

}  // namespace velora::engine
