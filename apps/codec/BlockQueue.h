// Blocks of bytes handed from one thread to another in order, a few on the way at most:
// one side fills the free blocks, the other takes the full ones. The codec tool reads
// ahead and writes behind through it.
#pragma once
#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace xpkit::cli {

class BlockQueue {
 public:
  static constexpr std::size_t kBlockSize = 1 << 20;
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kBlockSize);
    std::size_t size = 0;
  };

  // The next block to fill, once it is free; nullptr once the queue is stopped.
  Block* Free() { return Await(free_, false); }
  // Hands the block Free() gave to the other side.
  void Fill() { Pass(free_, true); }
  // The next full block, once there is one; nullptr once the queue is stopped.
  Block* Full() { return Await(taken_, true); }
  // Gives the block Full() gave back, to be filled again.
  void Empty() { Pass(taken_, false); }
  // Waits until the other side has emptied every full block.
  void Drain();
  // Ends every wait, now and later.
  void Stop();

 private:
  Block* Await(const std::size_t& next, bool full);
  void Pass(std::size_t& next, bool full);

  std::array<Block, 4> blocks_;
  std::array<bool, 4> full_{};
  std::size_t free_ = 0, taken_ = 0;  // the next block of each side
  bool stopped_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace xpkit::cli
