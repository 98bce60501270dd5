// The built libprobix.so, loaded by file name the way the program loads it.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "probe/probe_object.h"

namespace {

class ProbixLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(VELORA_BIN_DIR "/libprobix.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    create = reinterpret_cast<CreateProbixFn>(dlsym(handle, "CreateProbix"));
    destroy = reinterpret_cast<DestroyProbixFn>(dlsym(handle, "DestroyProbix"));
    readMsr = reinterpret_cast<int32_t (*)(uint32_t, uint32_t*, uint32_t*)>(dlsym(handle, "ReadMSR"));
    memRead = reinterpret_cast<uint32_t (*)(uint64_t, void*, uint32_t, uint32_t)>(
        dlsym(handle, "_MemReadBlock"));
    ASSERT_TRUE(create && destroy && readMsr && memRead);
  }
  void TearDown() override {
    if (handle) dlclose(handle);
  }
  void* handle = nullptr;
  CreateProbixFn create = nullptr;
  DestroyProbixFn destroy = nullptr;
  int32_t (*readMsr)(uint32_t, uint32_t*, uint32_t*) = nullptr;
  uint32_t (*memRead)(uint64_t, void*, uint32_t, uint32_t) = nullptr;
};

TEST_F(ProbixLibraryTest, ObjectAnswersThroughItsOperationTable) {
  velora::ProbeObject* probe = create(0x700);
  ASSERT_NE(probe, nullptr);
  char buffer[velora::kProbeTextCapacity];
  EXPECT_EQ(probe->GetString(1, buffer), 0);
  EXPECT_STREQ(buffer, "275");
  EXPECT_STREQ(probe->GetNumberString(1, buffer), "275");
  int32_t status = -7;
  int32_t result = probe->GetInt(16, &status);
  EXPECT_EQ(result, status);
  EXPECT_TRUE(status == 0 || status == 1 || status == 3 || status == 4) << status;
  destroy(probe);
  destroy(nullptr);
}

TEST_F(ProbixLibraryTest, MsrReadClearsBothHalvesWhenItFails) {
  uint32_t low = 0xDEAD, high = 0xBEEF;
  // 0xFFFFFFFF is no register on any processor, so the read fails everywhere.
  EXPECT_EQ(readMsr(0xFFFFFFFFu, &low, &high), 0);
  EXPECT_EQ(low, 0u);
  EXPECT_EQ(high, 0u);
}

TEST_F(ProbixLibraryTest, MemoryReadRefusesBadArguments) {
  unsigned char byte = 0;
  EXPECT_EQ(memRead(0xF0000, nullptr, 16, 1), 0u);
  EXPECT_EQ(memRead(0xF0000, &byte, 0, 1), 0u);
  EXPECT_EQ(memRead(0xF0000, &byte, 1, 0), 0u);
}

}  // namespace
