#include "platform/replay/recorded_pci.h"

#include <cstdio>
#include <set>
#include <utility>

#include "platform/regular_file.h"
#include "platform/replay/recorded_text.h"

namespace velora {

namespace {

using recorded::HexField;

constexpr size_t kRowBytes = 16;
constexpr size_t kLargestSpace = 4096;

// The sizes lspci prints: -x (128 for a CardBus bridge), -xxx, -xxxx.
bool RecordedSize(size_t size) { return size == 64 || size == 128 || size == 256 || size == 4096; }

std::string FunctionName(const RecordedPciFunction& f) {
  char name[32];
  std::snprintf(name, sizeof name, "%04x:%02x:%02x.%u", f.domain, PciBus(f.address),
                PciDevice(f.address), PciFunction(f.address));
  return name;
}

// "00:" or "ff0:" then a blank or the end: a row, not a function.
bool IsRow(std::string_view line, uint32_t& offset) {
  size_t colon = line.find(':');
  if (colon < 2 || colon > 4) return false;
  if (colon + 1 < line.size() && line[colon + 1] != ' ') return false;
  return HexField(line.substr(0, colon), 2, 4, offset);
}

// "[domain:]bus:device.function", then a blank or the end.
bool IsFunction(std::string_view line, RecordedPciFunction& f) {
  std::string_view rest = line;
  std::string_view name = recorded::NextWord(rest);
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 2 != name.size()) return false;
  const char function = name[dot + 1];
  if (function < '0' || function > '7') return false;
  std::string_view head = name.substr(0, dot);
  size_t last = head.rfind(':');
  if (last == std::string_view::npos) return false;
  uint32_t bus = 0, device = 0, domain = 0;
  if (!HexField(head.substr(last + 1), 1, 2, device) || device > 0x1F) return false;
  head = head.substr(0, last);
  size_t first = head.rfind(':');
  if (first != std::string_view::npos) {
    if (!HexField(head.substr(0, first), 1, 8, domain)) return false;
    head = head.substr(first + 1);
  }
  if (!HexField(head, 1, 2, bus)) return false;
  f.domain = domain;
  f.address = MakePciAddress(bus, device, static_cast<uint32_t>(function - '0'));
  return true;
}

struct Parser {
  Parser(std::vector<RecordedPciFunction>& f, std::string& e, std::string_view text)
      : functions(f), error(e), lines(text) {}

  std::vector<RecordedPciFunction>& functions;
  std::string& error;
  recorded::LineReader lines;
  std::set<std::pair<uint32_t, PciAddress>> seen;
  size_t headerLine = 0;

  bool Fail(const std::string& reason) {
    error = lines.Where() + reason;
    return false;
  }

  bool Closed() {
    if (functions.empty() || RecordedSize(functions.back().config.size())) return true;
    error = "line " + std::to_string(headerLine) + ": " + FunctionName(functions.back()) + " has " +
            std::to_string(functions.back().config.size()) +
            " bytes; lspci records 64, 128, 256 or 4096";
    return false;
  }

  bool Row(std::string_view line, uint32_t offset) {
    if (functions.empty()) return Fail("configuration bytes before any function line");
    std::vector<uint8_t>& config = functions.back().config;
    if (offset != config.size() || offset >= kLargestSpace) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "expected the row at %02zx", config.size());
      return Fail(offset >= kLargestSpace ? "offset past the 4096 bytes of a function"
                                          : std::string(expected));
    }
    std::string_view bytes = line.substr(line.find(':') + 1);
    for (size_t i = 0; i < kRowBytes; ++i) {
      uint32_t value = 0;
      if (bytes.size() < 3 || bytes[0] != ' ' || !HexField(bytes.substr(1, 2), 2, 2, value)) {
        return Fail("expected 16 bytes of two hex digits");
      }
      config.push_back(static_cast<uint8_t>(value));
      bytes.remove_prefix(3);
    }
    if (!recorded::Trim(bytes).empty()) return Fail("expected 16 bytes of two hex digits");
    return true;
  }

  bool Function(RecordedPciFunction f) {
    if (!Closed()) return false;
    if (!seen.insert({f.domain, f.address}).second) return Fail(FunctionName(f) + " again");
    functions.push_back(std::move(f));
    headerLine = lines.number();
    return true;
  }

  bool Run() {
    std::string_view line;
    while (lines.Next(line)) {
      // Blank lines part the functions; indented lines are the decoding of lspci -v.
      if (recorded::Trim(line).empty() || line[0] == ' ' || line[0] == '\t') continue;
      uint32_t offset = 0;
      RecordedPciFunction f;
      bool ok = true;
      if (IsRow(line, offset)) {
        ok = Row(line, offset);
      } else if (IsFunction(line, f)) {
        ok = Function(std::move(f));
      } else {
        ok = Fail("expected a function (BB:DD.F ...) or a row of configuration bytes");
      }
      if (!ok) return false;
    }
    if (functions.empty()) {
      error = "holds no PCI function";
      return false;
    }
    return Closed();
  }
};

}  // namespace

bool ParsePciRecording(std::string_view text, std::vector<RecordedPciFunction>& functions,
                       std::string& error) {
  functions.clear();
  error.clear();
  if (text.size() > kLargestPciRecording) {
    error = "is larger than " + SizeText(kLargestPciRecording);
    return false;
  }
  Parser parser(functions, error, text);
  if (parser.Run()) return true;
  functions.clear();
  return false;
}

std::string PciHexText(const std::vector<RecordedPciFunction>& functions) {
  std::string text;
  char line[96];
  for (const RecordedPciFunction& f : functions) {
    auto byte = [&](size_t at) -> uint32_t { return at < f.config.size() ? f.config[at] : 0; };
    std::snprintf(line, sizeof line, "%s %02x%02x: %04x:%04x", FunctionName(f).c_str(), byte(0x0B),
                  byte(0x0A), byte(0) | byte(1) << 8, byte(2) | byte(3) << 8);
    text += line;
    if (byte(8) != 0) {
      std::snprintf(line, sizeof line, " (rev %02x)", byte(8));
      text += line;
    }
    text += '\n';
    for (size_t row = 0; row < f.config.size(); row += kRowBytes) {
      std::snprintf(line, sizeof line, "%02zx:", row);
      text += line;
      for (size_t i = row; i < row + kRowBytes && i < f.config.size(); ++i) {
        std::snprintf(line, sizeof line, " %02x", f.config[i]);
        text += line;
      }
      text += '\n';
    }
    text += '\n';
  }
  return text;
}

}  // namespace velora
