#include "core/library_file_check.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace velora {

namespace {

bool ReadAt(int fd, void* buffer, size_t size, uint64_t offset) {
  return pread(fd, buffer, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

bool Inside(uint64_t offset, uint64_t size, uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

bool PlausibleElf(int fd, uint64_t fileSize) {
  Elf64_Ehdr header{};
  if (!ReadAt(fd, &header, sizeof header, 0)) return false;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return false;
  if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB)
    return false;
  if (header.e_type != ET_DYN || header.e_machine != EM_X86_64) return false;
  if (header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0) return false;
  if (!Inside(header.e_phoff, uint64_t{header.e_phnum} * header.e_phentsize, fileSize))
    return false;
  if (header.e_shnum != 0 &&
      !Inside(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize, fileSize))
    return false;
  std::vector<Elf64_Phdr> segments(header.e_phnum);
  if (!ReadAt(fd, segments.data(), segments.size() * sizeof(Elf64_Phdr), header.e_phoff))
    return false;
  for (const Elf64_Phdr& segment : segments) {
    if (segment.p_type == PT_LOAD && !Inside(segment.p_offset, segment.p_filesz, fileSize))
      return false;
  }
  return true;
}

}  // namespace

bool PlausibleSharedLibrary(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info {};
  const bool plausible = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                         PlausibleElf(fd, static_cast<uint64_t>(info.st_size));
  close(fd);
  return plausible;
}

}  // namespace velora
