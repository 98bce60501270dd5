#pragma once
// The three entry points of libvelora09.so, as the program calls them.

#include <cstdint>

extern "C" {

// Runs sub-test subTest of test (1 ALU, 2 FPU, 3 MEM, 4 HDD, 5 MMT, 6 GDI, 7 D2D, 8 D3D,
// 9 OGL). score receives points (negative: no result), value the measured figure (MEM and HDD
// in hundredths of MB/s). A sub-test the test does not have leaves both 0 and returns 0; a
// sub-test that could not run or failed its own check returns -1 with score -1.
int32_t BenchMark(int32_t test, int32_t subTest, int32_t mode, void* params, int32_t* score,
                  int32_t* value);

// Fills text (256 bytes) with the name of sub-test index of test; test 0 names the overall
// score (index 0) and the tests (1 to 10). An empty text means there is no such entry.
void GetBenchString(int32_t test, int32_t index, char* text);

// Fills two 32-byte buffers with the engine's version and date texts.
void GetDllInfo(char* version, char* date);

}  // extern "C"
