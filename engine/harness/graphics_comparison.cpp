#include "engine/harness/graphics_comparison.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/graphics/gl_scene_kernel.h"
#include "engine/harness/graphics_references.h"
#include "engine/harness/harness_figures.h"
#include "engine/sub_test_table.h"

namespace velora::bench {
namespace {

using namespace velora::engine;

// Keeps the named display away from the engine while the offscreen comparisons run.
class NoDisplay {
 public:
  NoDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? value : "");
      unsetenv(name);
    }
  }
  ~NoDisplay() {
    const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY"};
    for (size_t i = 0; i < saved_.size(); ++i)
      if (!saved_[i].empty()) setenv(names[i], saved_[i].c_str(), 1);
  }
  NoDisplay(const NoDisplay&) = delete;
  NoDisplay& operator=(const NoDisplay&) = delete;

 private:
  std::vector<std::string> saved_;
};

// glmark2's lit vertex-buffer model and its textured quad in a 1024 x 768 window on a virtual X
// server, then our scenes in windows on one like it. Not the same geometry, so no ratio.
void RunGlmark2(const char* self) {
  const std::string xvfb = "xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' ";
  const std::string out = CommandOutput(
      xvfb + "glmark2 -s 1024x768 -b build:use-vbo=true -b texture:texture-filter=linear 2>&1");
  bool any = false;
  for (size_t at = out.find('['); at != std::string::npos; at = out.find('[', at + 1)) {
    const size_t end = out.find('\n', at);
    const std::string line =
        out.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (line.find("FPS:") == std::string::npos) continue;
    std::printf("# glmark2 %s\n", line.c_str());
    any = true;
  }
  if (!any) std::printf("# glmark2 did not run (packages glmark2-x11 and xvfb needed)\n");
  std::fputs(CommandOutput(xvfb + "'" + self + "' --only OGL-WINDOWS 2>&1 | grep '^# OGL'").c_str(),
             stdout);
  std::fflush(stdout);
}

}  // namespace

void PrintWindowedScenes(int calls) {
  const auto rows = SubTestRows(kOgl);
  for (int sub = 0; sub < 6; ++sub) {
    std::vector<double> values;
    for (int i = 0; i < calls; ++i) values.push_back(EngineValue(kOgl, sub, nullptr));
    std::printf("# OGL.%s in a window: %s, median %.0f\n", rows[sub].name, Join(values).c_str(),
                Median(values));
  }
  std::fflush(stdout);
}

std::vector<std::pair<std::string, double>> RunGraphics(bool gdi, bool d2d, bool ogl, int pairs,
                                                        const char* self) {
  std::vector<std::pair<std::string, double>> ratios;
  auto compare = [&](const std::string& label, const std::function<double()>& engine,
                     const char* name, const std::function<double()>& reference, const char* unit) {
    ratios.emplace_back(label, ComparePairs(label, pairs, engine, name, reference, unit));
  };
  {
    // The references draw offscreen; so must the engine for a like-for-like ratio.
    NoDisplay offscreen;
    if (gdi) {
      const auto rows = SubTestRows(kGdi);
      for (int s = 0; s < 4; ++s)
        compare(
            std::string("GDI.") + rows[s].name, [s] { return EngineValue(kGdi, s, nullptr); },
            "cairo", [s, &rows] { return ReferenceGdi(s) * rows[s].valueScale; }, "primitives/s");
    }
    if (d2d) {
      static constexpr int kCounts[] = {10, 100, 500, 1000, 5000, 10000};
      const auto rows = SubTestRows(kD2d);
      for (int s = 0; s < 6; ++s)
        compare(
            std::string("D2D.") + rows[s].name, [s] { return EngineValue(kD2d, s, nullptr); },
            "sdl2", [s, &rows] { return ReferenceSprites(kCounts[s]) * rows[s].valueScale; },
            "hundredths of frames/s");
    }
    if (ogl) {
      // Lines and triangles per second: the scenes' frame counts are too coarse for a ratio.
      const auto rows = SubTestRows(kOgl);
      for (int scene = 0; scene < 2; ++scene) {
        const int sub = scene * 3 + 1;
        const graphics::GlSceneGeometry g = graphics::SceneGeometry(
            scene == 0 ? graphics::GlScene::kLines : graphics::GlScene::kTriangles,
            KernelSize::kFull);
        compare(
            std::string("OGL.") + rows[sub].name, [sub] { return EngineValue(kOgl, sub, nullptr); },
            "vertex-buffer loop",
            [scene, g, &rows, sub] {
              return ReferenceGlScene(scene) * g.primitives * rows[sub].valueScale;
            },
            "thousand primitives/s");
        std::vector<double> cpus;
        for (int i = 0; i < pairs; ++i) cpus.push_back(EngineValue(kOgl, sub + 1, nullptr));
        std::printf("# OGL.%s offscreen %s (no reference)\n", rows[sub + 1].name,
                    Join(cpus).c_str());
      }
    }
  }
  if (ogl) RunGlmark2(self);
  return ratios;
}

}  // namespace velora::bench
