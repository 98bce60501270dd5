// The built libvelora09.so through its three entry points, loaded by file name. Only calls that
// run no kernel are made here, so these tests stay fast.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/hdd_scratch_params.h"

namespace {

using BenchMarkFn = int32_t (*)(int32_t, int32_t, int32_t, void*, int32_t*, int32_t*);
using GetBenchStringFn = void (*)(int32_t, int32_t, char*);
using GetDllInfoFn = void (*)(char*, char*);

class EngineLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(VELORA_BIN_DIR "/libvelora09.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    benchMark = reinterpret_cast<BenchMarkFn>(dlsym(handle, "BenchMark"));
    getBenchString = reinterpret_cast<GetBenchStringFn>(dlsym(handle, "GetBenchString"));
    getDllInfo = reinterpret_cast<GetDllInfoFn>(dlsym(handle, "GetDllInfo"));
    ASSERT_TRUE(benchMark && getBenchString && getDllInfo);
  }
  void TearDown() override {
    if (handle) dlclose(handle);
  }

  std::string Name(int32_t test, int32_t index) {
    char text[256];
    std::memset(text, 'x', sizeof text);
    getBenchString(test, index, text);
    EXPECT_NE(std::memchr(text, '\0', sizeof text), nullptr);
    return text;
  }

  // Number of names of a test; fails the test when a name follows an empty one.
  int NameCount(int32_t test) {
    int count = 0;
    bool ended = false;
    for (int32_t i = 0; i < 16; ++i) {
      const bool empty = Name(test, i).empty();
      EXPECT_FALSE(ended && !empty) << "test " << test << " has a name after a gap at " << i;
      if (empty) ended = true;
      else if (!ended) ++count;
    }
    return count;
  }

  void* handle = nullptr;
  BenchMarkFn benchMark = nullptr;
  GetBenchStringFn getBenchString = nullptr;
  GetDllInfoFn getDllInfo = nullptr;
};

TEST_F(EngineLibraryTest, OverallAndTestNames) {
  EXPECT_EQ(Name(0, 0), "Mark");
  const char* tests[] = {"ALU", "FPU", "MEM", "HDD", "MMT", "GDI", "D2D", "D3D", "OGL", "NET"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Name(0, i + 1), tests[i]);
  EXPECT_EQ(Name(0, 11), "");
  EXPECT_EQ(Name(0, -1), "");
}

TEST_F(EngineLibraryTest, SubTestNamesAreContiguousFromZero) {
  EXPECT_EQ(NameCount(1), 4);
  EXPECT_EQ(NameCount(2), 4);
  EXPECT_EQ(NameCount(3), 4);
  EXPECT_EQ(NameCount(4), 6);
  EXPECT_GE(NameCount(5), 1);  // SSE2 at least, on any x86-64
  EXPECT_EQ(NameCount(6), 4);
  EXPECT_EQ(NameCount(7), 6);
  for (int32_t test : {8, 10}) EXPECT_EQ(NameCount(test), 0) << test;
  EXPECT_EQ(NameCount(9), 6);
  EXPECT_EQ(Name(1, 0), "Fibonacci");
  EXPECT_EQ(Name(2, 2), "FFT");
  EXPECT_EQ(Name(3, 2), "Read/Write");
  EXPECT_EQ(Name(4, 4), "RandomRead 64K");
  EXPECT_EQ(Name(5, 0), "SSE2");
  EXPECT_EQ(Name(6, 0), "Text");
  EXPECT_EQ(Name(6, 3), "BitBlt");
  EXPECT_EQ(Name(7, 0), "Sprite 10");
  EXPECT_EQ(Name(7, 5), "Sprite 10000");
  EXPECT_EQ(Name(9, 1), "Lines (x1000)");
  EXPECT_EQ(Name(9, 5), "Scene 2 CPUs");
  EXPECT_EQ(Name(11, 0), "");
  EXPECT_EQ(Name(1, 16), "");
}

TEST_F(EngineLibraryTest, NullTextBufferIsIgnored) {
  getBenchString(1, 0, nullptr);
  getDllInfo(nullptr, nullptr);
}

TEST_F(EngineLibraryTest, UnknownSubTestsLeaveZerosAndReturnZero) {
  struct Case {
    int32_t test, from;
  };
  // The first sub-test number each test does not have; MMT's count depends on the processor.
  const Case cases[] = {{1, 4}, {2, 4}, {3, 4}, {4, 6}, {6, 4}, {7, 6}, {8, 0}, {9, 6}, {10, 0}};
  velora::HddScratchParams params{};
  for (const Case& c : cases) {
    for (int32_t s = c.from; s < 8; ++s) {
      int32_t score = 12345, value = 6789;
      EXPECT_EQ(benchMark(c.test, s, 1, &params, &score, &value), 0) << c.test << "." << s;
      EXPECT_EQ(score, 0) << c.test << "." << s;
      EXPECT_EQ(value, 0) << c.test << "." << s;
    }
  }
  int32_t score = 1, value = 1;
  EXPECT_EQ(benchMark(5, NameCount(5), 1, nullptr, &score, &value), 0);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(benchMark(99, 0, 1, nullptr, &score, &value), 0);
  EXPECT_EQ(benchMark(1, -1, 1, nullptr, &score, &value), 0);
  EXPECT_EQ(score, 0);
}

TEST_F(EngineLibraryTest, D3dAnswersZeroSoThatFullRunsContinue) {
  for (int32_t s = 0; s < 8; ++s) {
    int32_t score = -5, value = -5;
    EXPECT_EQ(benchMark(8, s, 1, nullptr, &score, &value), 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(value, 0);
  }
}

TEST_F(EngineLibraryTest, HddRefusesNullAndUndersizedRecords) {
  int32_t score = 7, value = 7;
  EXPECT_NE(benchMark(4, 0, 1, nullptr, &score, &value), 0);
  EXPECT_LT(score, 0);
  EXPECT_EQ(value, 0);

  velora::HddScratchParams tiny{};
  tiny.fileSize = 1u << 20;
  tiny.blockSize = 1u << 20;
  std::strcpy(tiny.filePath, "/nonexistent/velora.tmp");
  score = value = 7;
  EXPECT_NE(benchMark(4, 1, 1, &tiny, &score, &value), 0);
  EXPECT_LT(score, 0);
  EXPECT_EQ(value, 0);
}

TEST_F(EngineLibraryTest, NullResultPointersAreRefused) {
  int32_t value = 0;
  EXPECT_NE(benchMark(1, 0, 1, nullptr, nullptr, &value), 0);
  EXPECT_NE(benchMark(1, 0, 1, nullptr, &value, nullptr), 0);
}

TEST_F(EngineLibraryTest, VersionAndDateFitTheirBuffers) {
  char version[32], date[32];
  std::memset(version, 'x', sizeof version);
  std::memset(date, 'x', sizeof date);
  getDllInfo(version, date);
  ASSERT_NE(std::memchr(version, '\0', sizeof version), nullptr);
  ASSERT_NE(std::memchr(date, '\0', sizeof date), nullptr);
  EXPECT_STRNE(version, "");
  EXPECT_EQ(std::strlen(date), 10u) << date;  // yyyy/mm/dd
}

}  // namespace
