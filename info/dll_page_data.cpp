#include "info/dll_page_data.h"

#include "core/file_version.h"
#include "core/ui_language.h"

namespace velora {

const std::array<DllCategory, kDllCategoryCount>& DllCategories() {
  static const std::array<DllCategory, kDllCategoryCount> categories{{
      {"System",
       "システム",
       {
           {"libc.so.6", "C Library"},
           {"ld-linux-x86-64.so.2", "Dynamic Loader"},
           {"libm.so.6", "Math Library"},
           {"libX11.so.6", "X11 Client"},
           {"libxcb.so.1", "X Protocol C Binding"},
           {"libwayland-client.so.0", "Wayland Client"},
           {"libdrm.so.2", "Direct Rendering Manager"},
           {"libGL.so.1", "OpenGL"},
           {"libEGL.so.1", "EGL"},
           {"libGLX.so.0", "GLX"},
           {"libvulkan.so.1", "Vulkan Loader"},
           {"libfontconfig.so.1", "Font Configuration"},
           {"libfreetype.so.6", "FreeType"},
           {"libasound.so.2", "ALSA"},
           {"libpulse.so.0", "PulseAudio"},
           {"libpipewire-0.3.so.0", "PipeWire"},
           {"libdbus-1.so.3", "D-Bus"},
           {"libssl.so.3", "OpenSSL"},
           {"libcurl.so.4", "URL Transfer"},
       }},
      {"C/C++ Runtime",
       "C/C++ ランタイム",
       {
           {"libstdc++.so.6", "GNU C++ Runtime"},
           {"libgcc_s.so.1", "GCC Support"},
           {"libgomp.so.1", "GNU OpenMP"},
           {"libatomic.so.1", "GCC Atomics"},
           {"libquadmath.so.0", "Quad Precision Math"},
           {"libgfortran.so.5", "GNU Fortran Runtime"},
           {"libstdc++.so.5", "GNU C++ Runtime (GCC 3)"},
           {"libc++.so.1", "LLVM C++ Runtime"},
           {"libc++abi.so.1", "LLVM C++ ABI"},
           {"libunwind.so.8", "Unwind"},
           {"libomp.so.5", "LLVM OpenMP"},
           {"libtbb.so.12", "Threading Building Blocks"},
       }},
      {"Toolkit",
       "ツールキット",
       {
           {"libQt5Core.so.5", "Qt 5 Core"},
           {"libQt5Widgets.so.5", "Qt 5 Widgets"},
           {"libQt6Core.so.6", "Qt 6 Core"},
           {"libQt6Widgets.so.6", "Qt 6 Widgets"},
           {"libgtk-3.so.0", "GTK 3"},
           {"libgtk-4.so.1", "GTK 4"},
           {"libglib-2.0.so.0", "GLib"},
           {"libgobject-2.0.so.0", "GObject"},
           {"libgio-2.0.so.0", "GIO"},
           {"libSDL2-2.0.so.0", "SDL 2"},
           {"libcairo.so.2", "Cairo"},
           {"libpango-1.0.so.0", "Pango"},
           {"libharfbuzz.so.0", "HarfBuzz"},
           {"libpng16.so.16", "PNG"},
           {"libjpeg.so.62", "JPEG"},
       }},
      {"Archiver",
       "アーカイバ",
       {
           {"libz.so.1", "zlib (gz / deflate)"},
           {"libbz2.so.1.0", "bz2"},
           {"liblzma.so.5", "xz / lzma"},
           {"libzstd.so.1", "zst"},
           {"liblz4.so.1", "lz4"},
           {"libbrotlidec.so.1", "br"},
           {"libarchive.so.13", "tar / zip / 7z / cpio ..."},
           {"libzip.so.4", "zip"},
           {"libminizip.so.1", "zip (minizip)"},
           {"liblzo2.so.2", "lzo"},
           {"libsnappy.so.1", "snappy"},
       }},
  }};
  return categories;
}

int DllCategoryIndex(int tab) { return tab >= 0 && tab < kDllCategoryCount ? tab : 0; }

void FillDllCategory(DllPageData& page, int tab, const LibraryVersionReader& version) {
  page.category = DllCategoryIndex(tab);
  page.rows.clear();
  for (const DllTableRow& row : DllCategories()[static_cast<size_t>(page.category)].rows) {
    std::string text = version(row.fileName);
    if (text.empty()) text = "Not Installed";
    page.rows.push_back({row.fileName, text, row.description});
  }
}

std::string InstalledLibraryVersion(const std::string& fileName) {
  char text[kFileVersionCapacity] = "";
  FileVersionText(fileName.c_str(), text);
  return text;
}

PageView DllPageView(const DllPageData& page, int language) {
  PageView v;
  v.name = "DLL";
  const DllCategory& category =
      DllCategories()[static_cast<size_t>(DllCategoryIndex(page.category))];
  PageTable table;
  table.title = language == kEnglish ? category.english : category.japanese;
  table.columns.assign(kDllColumns.begin(), kDllColumns.end());
  for (const DllRow& row : page.rows) table.rows.emplace_back(row.begin(), row.end());
  v.tables.push_back(table);
  return v;
}

}  // namespace velora
