#include "engine/graphics/gl_scene_kernel.h"

#include <time.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {
namespace {

constexpr const char* kLinesVertex = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec4 colour;
uniform float angle;
out vec4 vColour;
void main() {
  float c = cos(angle), s = sin(angle);
  gl_Position = vec4(c * position.x - s * position.y, s * position.x + c * position.y, 0.0, 1.0);
  vColour = colour;
})";

constexpr const char* kLinesFragment = R"(#version 330 core
in vec4 vColour;
out vec4 fragColour;
void main() { fragColour = vColour; })";

constexpr const char* kTrianglesVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
uniform float angle;
out vec3 vNormal;
out vec2 vUv;
void main() {
  float c = cos(angle), s = sin(angle);
  mat3 turn = mat3(1, 0, 0, 0, c, s, 0, -s, c) * mat3(c, 0, -s, 0, 1, 0, s, 0, c);
  vec3 p = turn * position;
  gl_Position = vec4(p.xy, p.z * 0.5, 1.0);
  vNormal = turn * normal;
  vUv = uv;
})";

// Lit from the viewer's side: a face turned to the viewer shows its texel unchanged.
constexpr const char* kTrianglesFragment = R"(#version 330 core
in vec3 vNormal;
in vec2 vUv;
uniform sampler2D image;
out vec4 fragColour;
void main() {
  float light = 0.25 + 0.75 * max(dot(normalize(vNormal), vec3(0.0, 0.0, -1.0)), 0.0);
  fragColour = vec4(texture(image, vUv).rgb * light, 1.0);
})";

constexpr Rgb kCheckerA{200, 180, 60};
constexpr Rgb kCheckerB{60, 90, 170};
constexpr int kTextureSize = 256, kCheckerSquare = 32;

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

GLuint Link(const char* vertex, const char* fragment) {
  GLuint vs = Compile(GL_VERTEX_SHADER, vertex), fs = Compile(GL_FRAGMENT_SHADER, fragment);
  GLuint program = 0;
  if (vs != 0 && fs != 0) {
    program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
      glDeleteProgram(program);
      program = 0;
    }
  }
  if (vs != 0) glDeleteShader(vs);
  if (fs != 0) glDeleteShader(fs);
  return program;
}

// The middle of pixel (column, row) in normalised device coordinates.
float NdcX(double column) { return static_cast<float>((column + 0.5) / kSceneWidth * 2.0 - 1.0); }
float NdcY(double row) { return static_cast<float>((row + 0.5) / kSceneHeight * 2.0 - 1.0); }

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct LineVertex {
  float x, y;
  uint8_t rgba[4];
};

struct MeshVertex {
  float position[3], normal[3], uv[2];
};

double Unit(uint64_t r, int shift) { return static_cast<double>((r >> shift) & 0xFFFFF) / 0xFFFFF; }

}  // namespace

GlSceneGeometry SceneGeometry(GlScene scene, KernelSize size) {
  const bool small = size == KernelSize::kSmall;
  // Mesa's software rasteriser on two processors draws about 10 frames a second of each.
  if (scene == GlScene::kLines) return {small ? 5000 : 20000, small ? 1 : 2};
  return {small ? 64 * 32 * 2 : 256 * 64 * 2, small ? 1 : 2};
}

Rgb MarkerColour(GlScene scene) { return scene == GlScene::kLines ? kLineMarker : kCheckerA; }

GlSceneKernel::GlSceneKernel(GlScene scene, GlFigure figure, KernelSize size, bool useWindow)
    : scene_(scene), figure_(figure), geometry_(SceneGeometry(scene, size)), useWindow_(useWindow) {}

GlSceneKernel::~GlSceneKernel() {
  if (gl_) {
    if (texture_ != 0) glDeleteTextures(1, &texture_);
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
    if (vertexArray_ != 0) glDeleteVertexArrays(1, &vertexArray_);
    if (program_ != 0) glDeleteProgram(program_);
  }
  gl_.reset();
}

double GlSceneKernel::WorkPerRun() const {
  switch (figure_) {
    case GlFigure::kFrames: return geometry_.framesPerRun;
    case GlFigure::kPrimitives: return static_cast<double>(geometry_.framesPerRun) * geometry_.primitives;
    // CPU seconds used per run: over the timed seconds, the processors kept busy.
    case GlFigure::kProcessors: return runs_ > 0 ? cpuSeconds_ / runs_ : 0.0;
  }
  return 0.0;
}

bool GlSceneKernel::BuildLines() {
  program_ = Link(kLinesVertex, kLinesFragment);
  if (program_ == 0) return false;
  std::vector<LineVertex> v;
  v.reserve(2 * geometry_.primitives + 2);
  // Both ends inside a disc of radius 0.78, so no turn ever reaches the corners.
  auto inDisc = [](uint64_t r, int shift) {
    const double radius = 0.78 * std::sqrt(Unit(r, shift)), phi = 2 * M_PI * Unit(r, shift + 20);
    return std::pair{radius * std::cos(phi), radius * std::sin(phi)};
  };
  for (int i = 0; i < geometry_.primitives; ++i) {
    const uint64_t r = SceneRandom(200, static_cast<uint64_t>(i));
    const uint64_t q = SceneRandom(201, static_cast<uint64_t>(i));
    auto [ax, ay] = inDisc(r, 0);
    auto [bx, by] = inDisc(q, 0);
    // Short lines, at most a quarter of the scene's half-width; still inside the disc.
    const double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
    if (length > 0.25) {
      bx = ax + dx * 0.25 / length;
      by = ay + dy * 0.25 / length;
    }
    const uint8_t red = static_cast<uint8_t>(64 + (r >> 44) % 192);
    const uint8_t green = static_cast<uint8_t>(64 + (r >> 52) % 192);
    const uint8_t blue = static_cast<uint8_t>(64 + (q >> 44) % 192);
    v.push_back({static_cast<float>(ax), static_cast<float>(ay), {red, green, blue, 255}});
    v.push_back({static_cast<float>(bx), static_cast<float>(by), {red, green, blue, 255}});
  }
  vertices_ = static_cast<int>(v.size());
  // The marker: a horizontal line through the middle of pixel row kMarkerRow.
  const float y = NdcY(kMarkerRow);
  v.push_back({-0.9f, y, {kLineMarker.r, kLineMarker.g, kLineMarker.b, 255}});
  v.push_back({0.9f, y, {kLineMarker.r, kLineMarker.g, kLineMarker.b, 255}});
  markerVertices_ = 2;
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &buffer_);
  glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(LineVertex)), v.data(),
               GL_STATIC_DRAW);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(LineVertex), nullptr);
  glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(LineVertex),
                        reinterpret_cast<const void*>(offsetof(LineVertex, rgba)));
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  return true;
}

bool GlSceneKernel::BuildTriangles() {
  program_ = Link(kTrianglesVertex, kTrianglesFragment);
  if (program_ == 0) return false;
  // A torus of rings x sides quads, two triangles each.
  const int sides = geometry_.primitives >= 256 * 64 * 2 ? 64 : 32;
  const int rings = geometry_.primitives / (2 * sides);
  const double major = 0.55, minor = 0.2;
  auto at = [&](int ring, int side) {
    const double u = 2 * M_PI * ring / rings, w = 2 * M_PI * side / sides;
    MeshVertex m{};
    const double nx = std::cos(w) * std::cos(u), ny = std::cos(w) * std::sin(u), nz = std::sin(w);
    m.position[0] = static_cast<float>((major + minor * std::cos(w)) * std::cos(u));
    m.position[1] = static_cast<float>((major + minor * std::cos(w)) * std::sin(u));
    m.position[2] = static_cast<float>(minor * nz);
    m.normal[0] = static_cast<float>(nx);
    m.normal[1] = static_cast<float>(ny);
    m.normal[2] = static_cast<float>(nz);
    m.uv[0] = static_cast<float>(8.0 * ring / rings);
    m.uv[1] = static_cast<float>(2.0 * side / sides);
    return m;
  };
  std::vector<MeshVertex> v;
  v.reserve(3 * static_cast<size_t>(geometry_.primitives) + 6);
  for (int ring = 0; ring < rings; ++ring) {
    for (int side = 0; side < sides; ++side) {
      const MeshVertex a = at(ring, side), b = at(ring + 1, side), c = at(ring + 1, side + 1),
                       d = at(ring, side + 1);
      v.insert(v.end(), {a, b, c, a, c, d});
    }
  }
  vertices_ = static_cast<int>(v.size());
  // The marker: a small quad in front of everything, facing the light, on one checker square.
  const float x0 = NdcX(kMarkerColumn - 8), x1 = NdcX(kMarkerColumn + 8);
  const float y0 = NdcY(kMarkerRow - 8), y1 = NdcY(kMarkerRow + 8);
  const float u = (kCheckerSquare / 2.0f) / kTextureSize;
  auto corner = [&](float x, float y) {
    return MeshVertex{{x, y, -1.8f}, {0.0f, 0.0f, -1.0f}, {u, u}};
  };
  v.insert(v.end(), {corner(x0, y0), corner(x1, y0), corner(x1, y1), corner(x0, y0),
                     corner(x1, y1), corner(x0, y1)});
  markerVertices_ = 6;
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &buffer_);
  glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(MeshVertex)), v.data(),
               GL_STATIC_DRAW);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), nullptr);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex),
                        reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(MeshVertex),
                        reinterpret_cast<const void*>(offsetof(MeshVertex, uv)));
  for (GLuint a = 0; a < 3; ++a) glEnableVertexAttribArray(a);

  std::vector<uint8_t> texels(kTextureSize * kTextureSize * 4);
  for (int y = 0; y < kTextureSize; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      const Rgb c = ((x / kCheckerSquare + y / kCheckerSquare) & 1) ? kCheckerB : kCheckerA;
      uint8_t* t = &texels[(y * kTextureSize + x) * 4];
      t[0] = c.r;
      t[1] = c.g;
      t[2] = c.b;
      t[3] = 255;
    }
  }
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTextureSize, kTextureSize, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glEnable(GL_DEPTH_TEST);
  return true;
}

bool GlSceneKernel::Prepare() {
  gl_ = GlContext::Create(useWindow_);
  if (!gl_) return false;
  const bool built = scene_ == GlScene::kLines ? BuildLines() : BuildTriangles();
  if (!built) return false;
  glUseProgram(program_);
  angleUniform_ = glGetUniformLocation(program_, "angle");
  glViewport(0, 0, kSceneWidth, kSceneHeight);
  glClearColor(kGlBackground.r / 255.0f, kGlBackground.g / 255.0f, kGlBackground.b / 255.0f, 1.0f);
  // The driver compiles its shader variants at the first draw: not part of drawing a frame.
  DrawFrame(frame_);
  glFinish();
  return glGetError() == GL_NO_ERROR;
}

void GlSceneKernel::DrawFrame(uint64_t frame) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glUniform1f(angleUniform_, static_cast<float>(frame % 100000) * 0.01f);
  const GLenum mode = scene_ == GlScene::kLines ? GL_LINES : GL_TRIANGLES;
  glDrawArrays(mode, 0, vertices_);
  glUniform1f(angleUniform_, 0.0f);
  glDrawArrays(mode, vertices_, markerVertices_);
}

void GlSceneKernel::Run() {
  const double cpuStart = ProcessCpuSeconds();
  for (int k = 0; k < geometry_.framesPerRun; ++k) {
    DrawFrame(frame_++);
    if (k + 1 == geometry_.framesPerRun) {
      // Read before the frame is shown: a window's back buffer is undefined after the swap.
      glReadPixels(kMarkerColumn, kMarkerRow, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, marker_);
      glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner_);
    }
    gl_->Present();
  }
  glFinish();
  cpuSeconds_ += ProcessCpuSeconds() - cpuStart;
  ++runs_;
}

bool GlSceneKernel::Verify() {
  if (glGetError() != GL_NO_ERROR) return false;
  const Rgb want = MarkerColour(scene_);
  // Exact for the flat-coloured line; one step of rounding allowed for the lit texel.
  const int slack = scene_ == GlScene::kLines ? 0 : 1;
  auto near = [slack](uint8_t got, uint8_t wanted) { return std::abs(got - wanted) <= slack; };
  return near(marker_[0], want.r) && near(marker_[1], want.g) && near(marker_[2], want.b) &&
         corner_[0] == kGlBackground.r && corner_[1] == kGlBackground.g &&
         corner_[2] == kGlBackground.b;
}

}  // namespace velora::engine::graphics
