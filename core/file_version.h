#pragma once
// Version texts of shared libraries, in place of the version resources of other systems:
// the library's own version function where we know one, else the version of the Debian
// package that owns the file, else the version in the file name.

#include <string>
#include <vector>

namespace velora {

constexpr size_t kFileVersionCapacity = 256;

struct FileVersionSources {
  // Folders searched for a bare library name, in order (after $LD_LIBRARY_PATH).
  std::vector<std::string> libraryFolders{"/lib/x86_64-linux-gnu",
                                          "/usr/lib/x86_64-linux-gnu",
                                          "/lib64",
                                          "/usr/lib64",
                                          "/lib",
                                          "/usr/lib",
                                          "/usr/local/lib"};
  bool useLdLibraryPath = true;
  std::string dpkgInfoFolder = "/var/lib/dpkg/info";
  std::string dpkgStatusFile = "/var/lib/dpkg/status";
  // Loading a library to ask it runs its constructors; tests of other sources switch it off.
  bool askLibrary = true;
};

// The file a name stands for, found the way the dynamic loader would look for it; "" when
// there is none. A name with a slash is taken as a path.
std::string ResolveLibraryFile(const std::string& fileName, const FileVersionSources& sources);

// The version text of a file, "" when none of the sources knows one.
std::string LibraryVersionText(const std::string& fileName, const FileVersionSources& sources);

// The leading decimal number of a version text times 100, truncated: "4.71.3328" gives 471,
// "1.50.1085" gives 150; 0 for an empty text.
int VersionNumberOf(const std::string& text);

// The version text copied into buffer (kFileVersionCapacity bytes, may be null) and its
// number. A file without a version gives 0 and leaves the buffer as it was.
int FileVersionText(const char* fileName, char* buffer,
                    const FileVersionSources& sources = FileVersionSources());

}  // namespace velora
