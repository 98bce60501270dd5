#include "bench/graphics_messages.h"

#include "bench/bench_result.h"
#include "core/ui_language.h"

namespace velora {

const char* GraphicsFailureMessage(int test, int language) {
  const bool english = language == kEnglish;
  switch (test) {
    case kTestGdi:
      return english ? "The GDI test cannot run here or drew a wrong picture; the run was stopped."
                     : "GDI テストを実行できないか描画結果が正しくないため、ベンチマークを中止しました";
    case kTestD2d:
      return english ? "The D2D test cannot run here or drew a wrong picture; the run was stopped."
                     : "D2D テストを実行できないか描画結果が正しくないため、ベンチマークを中止しました";
    case kTestOgl:
      return english ? "The OGL test cannot run here (no OpenGL) or drew a wrong picture; the run "
                       "was stopped."
                     : "OGL テストを実行できない (OpenGL がない) か描画結果が正しくないため、ベンチマークを中止しました";
    default:
      return english ? "A test cannot run here; the run was stopped."
                     : "テストを実行できないため、ベンチマークを中止しました";
  }
}

}  // namespace velora
