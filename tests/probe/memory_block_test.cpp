#include "probe/smbios/memory_block.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_driver_link.h"

namespace velora {
namespace {

class MemoryBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.memoryBase = 0xF0000;
    memory.memory.resize(0x10000);
    for (size_t i = 0; i < memory.memory.size(); ++i) memory.memory[i] = static_cast<uint8_t>(i);
  }
  FakeDriverLink memory;
};

TEST_F(MemoryBlockTest, WholeReadAnswersTheElementCount) {
  uint32_t words[4] = {};
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0010, words, 4, 4), 4u);
  EXPECT_EQ(words[0], 0x13121110u);
  uint8_t bios[0x10000];
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, bios, 0x10000, 1), 0x10000u);
  EXPECT_EQ(bios[0xFFFF], 0xFF);
}

TEST_F(MemoryBlockTest, ShortReadsAnswerZero) {
  uint8_t buffer[64];
  memory.memoryReadLimit = 63;
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, buffer, 16, 4), 0u);
  memory.memoryReadLimit = SIZE_MAX;
  // Runs off the end of the image.
  EXPECT_EQ(ReadMemoryBlock(memory, 0xFFFF0, buffer, 32, 1), 0u);
  EXPECT_EQ(ReadMemoryBlock(memory, 0xFFFF0, buffer, 16, 1), 16u);
  // Without a driver nothing is read.
  memory.status = kDriverNoDevice;
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, buffer, 1, 1), 0u);
}

TEST_F(MemoryBlockTest, DegenerateRequestsAnswerZero) {
  uint8_t byte;
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, nullptr, 1, 1), 0u);
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, &byte, 0, 1), 0u);
  EXPECT_EQ(ReadMemoryBlock(memory, 0xF0000, &byte, 1, 0), 0u);
}

}  // namespace
}  // namespace velora
