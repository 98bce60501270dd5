#pragma once
// Plain drawing loops of the same primitives on the same kind of surface as the engine's GDI,
// D2D and OGL sub-tests, offscreen, each answering its rate in the engine's work unit per second
// from one measurement of at least a quarter second: no per-batch check, no read-back.

namespace velora::bench {

// Primitives per second; shape 0 Text, 1 Square, 2 Circle, 3 BitBlt.
double ReferenceGdi(int shape);
// Frames per second with count sprites.
double ReferenceSprites(int count);
// Frames per second of scene 0 (lines) or 1 (triangles), drawn back to back with one finish.
double ReferenceGlScene(int scene);

}  // namespace velora::bench
