#include "platform/replay/recorded_smbios.h"

#include <algorithm>

#include "platform/regular_file.h"
#include "platform/replay/recorded_text.h"
#include "platform/replay/smbios_entry_fields.h"

namespace velora {

namespace {

using recorded::EntryAnchor;
using recorded::SmbiosAnchor;

constexpr size_t kDumpTableOffset = 0x20;
// Where the table of a bare recording is said to lie: above the firmware segment, where the
// made-up entry point never meets it.
constexpr uint64_t kMadeUpTableAddress = 0x100000;
constexpr uint8_t kEndOfTable = 127;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// The entry point at the start of bytes, as long as its own length says, or empty.
std::vector<uint8_t> EntryAtStart(std::string_view bytes) {
  std::vector<uint8_t> entry = Bytes(bytes.substr(0, kDumpTableOffset));
  size_t length = 0;
  switch (EntryAnchor(entry)) {
    case SmbiosAnchor::kSm: length = std::max<size_t>(entry[5], 0x1F); break;
    case SmbiosAnchor::kSm3: length = entry[6]; break;
    case SmbiosAnchor::kDmi: length = 15; break;
    case SmbiosAnchor::kNone: return {};
  }
  entry.resize(length);
  return entry;
}

// A structure's strings: printable bytes, each string ended by a NUL, the set by another.
bool StringsEnd(std::string_view table, size_t& at) {
  if (table.substr(at, 2) == std::string_view("\0\0", 2)) {
    at += 2;
    return true;
  }
  while (at < table.size()) {
    const auto c = static_cast<unsigned char>(table[at]);
    if (c == 0) {
      if (at + 1 < table.size() && table[at + 1] == 0) {
        at += 2;
        return true;
      }
    } else if (c < 0x20 || c == 0x7F) {
      return false;
    }
    ++at;
  }
  return false;
}

// Whether bytes read as a structure table: structures with sane lengths and strings up to the
// end, to an end-of-table structure, or (firmware gets this wrong) to a zeroed header after
// a few sound structures.
bool LooksLikeTable(std::string_view table) {
  size_t at = 0;
  size_t structures = 0;
  while (at + 4 <= table.size()) {
    const auto type = static_cast<uint8_t>(table[at]);
    const auto length = static_cast<uint8_t>(table[at + 1]);
    if (length < 4) return structures >= 2 && type == 0 && length == 0;
    if (at + length > table.size()) return false;
    if (type == kEndOfTable) return structures >= 1 && length == 4;
    at += length;
    if (!StringsEnd(table, at)) return false;
    ++structures;
  }
  return structures >= 2 && at == table.size();
}

}  // namespace

bool ParseSmbiosRecording(std::string_view bytes, SmbiosRecording& recording, std::string& error) {
  recording = {};
  error.clear();
  if (bytes.size() > kLargestSmbiosRecording) {
    error = "is larger than " + SizeText(kLargestSmbiosRecording);
    return false;
  }
  std::vector<uint8_t> entry = EntryAtStart(bytes);
  if (!entry.empty()) {
    if (bytes.size() <= kDumpTableOffset) {
      error = "holds an SMBIOS entry point but no table after it at 0x20";
      return false;
    }
    recording.tableAddress = recorded::EntryTableAddress(entry);
    recording.entryPoint = std::move(entry);
    recording.table = Bytes(bytes.substr(kDumpTableOffset));
    return true;
  }
  if (!LooksLikeTable(bytes)) {
    error = "is neither an SMBIOS entry point with its table nor a structure table";
    return false;
  }
  recording.table = Bytes(bytes);
  recording.tableAddress = kMadeUpTableAddress;
  recording.entryPoint = recorded::MadeUpEntryPoint(kMadeUpTableAddress, recording.table.size());
  return true;
}

bool ParseSmbiosPair(std::string_view entryPoint, std::string_view table,
                     SmbiosRecording& recording, std::string& error) {
  recording = {};
  error.clear();
  std::vector<uint8_t> entry = EntryAtStart(entryPoint);
  if (entry.empty() || entry.size() > entryPoint.size()) {
    error = "the entry point is none of \"_SM_\", \"_SM3_\" or \"_DMI_\"";
    return false;
  }
  if (table.empty() || table.size() > kLargestSmbiosRecording) {
    error = table.empty() ? "the table is empty"
                          : "the table is larger than " + SizeText(kLargestSmbiosRecording);
    return false;
  }
  recording.tableAddress = recorded::EntryTableAddress(entry);
  recording.entryPoint = std::move(entry);
  recording.table = Bytes(table);
  return true;
}

std::string SmbiosDumpBin(const SmbiosRecording& recording) {
  std::vector<uint8_t> entry = recording.entryPoint;
  recorded::SetEntryTableAddress(entry, kDumpTableOffset);
  std::string dump(kDumpTableOffset, '\0');
  std::copy_n(entry.begin(), std::min(entry.size(), kDumpTableOffset), dump.begin());
  dump.append(recording.table.begin(), recording.table.end());
  return dump;
}

}  // namespace velora
