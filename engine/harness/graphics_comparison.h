#pragma once
// The drawing tests against plain loops of ours drawing the same primitives offscreen, and the
// OpenGL scenes in windows beside glmark2 on a virtual X server as a public reference point.

#include <string>
#include <utility>
#include <vector>

namespace velora::bench {

// Offscreen comparisons of the tests asked for, pairs alternating pairs each; then, when OGL
// is asked for, glmark2 and this program's own windowed scenes (self, with
// --only OGL-WINDOWS) under xvfb-run. Answers each comparison's label and median ratio.
std::vector<std::pair<std::string, double>> RunGraphics(bool gdi, bool d2d, bool ogl, int pairs,
                                                        const char* self);

// The OGL scenes' figures in windows on the display this process was given.
void PrintWindowedScenes(int calls);

}  // namespace velora::bench
