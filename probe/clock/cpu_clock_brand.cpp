#include "probe/clock/cpu_clock_brand.h"

#include <array>
#include <cstddef>

namespace velora {

namespace {

// Up to four spellings of one clock; the first row with any spelling in the brand string wins.
struct Spelling {
  char text[5] = {};
  constexpr bool empty() const { return text[0] == '\0'; }
  constexpr std::string_view view() const {
    size_t n = 0;
    while (n < 4 && text[n] != '\0') ++n;
    return {text, n};
  }
};

struct BrandRow {
  std::array<Spelling, 4> spellings{};
  double value = 0.0;
  // Kind 2 only: the value when the measured bus clock is below 126.6635 MHz.
  double valueOnSlowBus = 0.0;
};

constexpr Spelling Text(const char* s) {
  Spelling out;
  for (size_t i = 0; i < 4 && s[i] != '\0'; ++i) out.text[i] = s[i];
  return out;
}

constexpr char Digit(int clock, int place) {
  for (int i = 0; i < place; ++i) clock /= 10;
  return static_cast<char>('0' + clock % 10);
}

// "1066"
constexpr Spelling FourDigits(int clock) {
  Spelling s;
  s.text[0] = Digit(clock, 3);
  s.text[1] = Digit(clock, 2);
  s.text[2] = Digit(clock, 1);
  s.text[3] = Digit(clock, 0);
  return s;
}

// "1.06" for 1066
constexpr Spelling GigahertzOfFour(int clock) {
  Spelling s;
  s.text[0] = Digit(clock, 3);
  s.text[1] = '.';
  s.text[2] = Digit(clock, 2);
  s.text[3] = Digit(clock, 1);
  return s;
}

// "1.1" for 1100
constexpr Spelling GigahertzOfThree(int clock) {
  Spelling s;
  s.text[0] = Digit(clock, 3);
  s.text[1] = '.';
  s.text[2] = Digit(clock, 2);
  return s;
}

constexpr BrandRow Row(double value, const char* a, const char* b = "", const char* c = "",
                       const char* d = "") {
  return BrandRow{{Text(a), Text(b), Text(c), Text(d)}, value, value};
}

// --- RatedClockFromBrand ---

// Step 1: the thirds below 1 GHz, in this order.
constexpr std::array kThirdsBelowOneGigahertz = {
    Row(133.33, " 133"), Row(166.66, " 166"), Row(233.33, " 233"), Row(266.66, " 266"),
    Row(333.33, " 333"), Row(366.66, " 366"), Row(433.0, " 433"),  Row(466.66, " 466"),
    Row(533.33, " 533"), Row(566.66, " 566"), Row(666.66, " 666", " 667"),
    Row(733.33, " 733"), Row(866.66, " 866"), Row(933.33, " 933"),
};

// Step 2: the thirds from 1066 to 4933, in rising order.
constexpr std::array<int, 40> kThirdsClocks = {
    1066, 1133, 1266, 1333, 1466, 1533, 1666, 1733, 1866, 1933, 2066, 2133, 2266, 2333,
    2466, 2533, 2666, 2733, 2866, 2933, 3066, 3133, 3266, 3333, 3466, 3533, 3666, 3733,
    3866, 3933, 4066, 4133, 4266, 4333, 4466, 4533, 4666, 4733, 4866, 4933};

constexpr auto kThirdsFromOneGigahertz = [] {
  std::array<BrandRow, kThirdsClocks.size()> rows{};
  for (size_t i = 0; i < rows.size(); ++i) {
    int clock = kThirdsClocks[i];
    BrandRow& row = rows[i];
    row.spellings[0] = FourDigits(clock);
    row.spellings[1] = GigahertzOfFour(clock);
    // x666 is also written rounded up: "1667", "1.67".
    if (clock % 1000 == 666) {
      row.spellings[2] = FourDigits(clock + 1);
      row.spellings[3] = GigahertzOfFour(clock + 4);  // "1.67"
    }
    row.value = clock + (clock % 100 == 66 ? 0.66 : 0.33);
    row.valueOnSlowBus = row.value;
  }
  return rows;
}();

// Step 3: " 100" to " 900".
constexpr std::array kHundreds = {
    Row(100, " 100"), Row(200, " 200"), Row(300, " 300"), Row(400, " 400"), Row(500, " 500"),
    Row(600, " 600"), Row(700, " 700"), Row(800, " 800"), Row(900, " 900"),
};

// Step 4: "1000" or "1.0", then by 100 MHz up to "5000" or "5.0".
constexpr auto kThousands = [] {
  std::array<BrandRow, 41> rows{};
  for (size_t i = 0; i < rows.size(); ++i) {
    int clock = 1000 + static_cast<int>(i) * 100;
    rows[i].spellings[0] = FourDigits(clock);
    rows[i].spellings[1] = GigahertzOfThree(clock);
    rows[i].value = rows[i].valueOnSlowBus = clock;
  }
  return rows;
}();

// --- OriginalMultiplierFromBrand, kind 1 (133 MHz bus) ---

constexpr std::array kMultipliersOn133 = {
    Row(3, " 400"),    Row(3.5, " 466"),  Row(4, " 533"),   Row(4.5, " 600"),
    Row(5, " 666", " 667"),               Row(5.5, " 733"), Row(6, " 800"),
    Row(6.5, " 866"),  Row(7, " 933"),
    Row(7.5, "1000", "1.00"),   Row(8, "1066", "1.06"),     Row(8.5, "1133", "1.13"),
    Row(9, "1200", "1.20"),     Row(9.5, "1266", "1.26"),   Row(10, "1333", "1.33"),
    Row(10.5, "1400", "1.40"),  Row(11, "1466", "1.46"),    Row(11.5, "1533", "1.53"),
    Row(12, "1600", "1.60"),    Row(12.5, "1666", "1.66", "1667", "1.67"),
    Row(13, "1733", "1.73"),    Row(13.5, "1800", "1.80"),  Row(14, "1866", "1.86"),
    Row(14.5, "1933", "1.93"),  Row(15, "2000", "2.00"),    Row(15.5, "2066", "2.06"),
    Row(16, "2133", "2.13"),    Row(16.5, "2200", "2.20"),  Row(17, "2266", "2.26"),
    Row(17.5, "2333", "2.33"),  Row(18, "2400", "2.40"),    Row(18.5, "2466", "2.46"),
    Row(19, "2533", "2.53"),    Row(19.5, "2600", "2.60"),
    Row(20, "2666", "2.66", "2667", "2.67"),
    Row(20.5, "2733", "2.73"),  Row(21, "2800", "2.80"),    Row(21.5, "2866", "2.86"),
    Row(22, "2933", "2.93"),    Row(22.5, "3000", "3.00"),
};

// --- kind 2 (100 MHz bus) ---

// A spelling that a 133 MHz part shares: its value on a fast bus, else on a 100 MHz one.
constexpr BrandRow Shared(double fast, double slow, const char* spelling) {
  BrandRow row = Row(fast, spelling);
  row.valueOnSlowBus = slow;
  return row;
}

constexpr std::array kMultipliersOn100 = {
    Row(3, " 300"),  Row(4, " 400"),  Row(5, " 500"),  Row(6, " 600"),
    Row(7, " 700"),  Row(8, " 800"),  Row(9, " 900"),
    Row(13, "1.73"), Row(14, "1.86"), Shared(15, 20, "2.00"),
    Row(16, "2.13"), Row(17, "2.26"), Shared(18, 24, "2.40"),
    Row(19, "2.53"), Row(20, "2.66"), Row(20, "2.67"), Shared(21, 28, "2.80"),
};

// Then "1000" or "1.0" gives 10, and so on by 100 MHz and 1 up to "3000" or "3.0", 30.
constexpr auto kMultipliersOn100ByThousands = [] {
  std::array<BrandRow, 21> rows{};
  for (size_t i = 0; i < rows.size(); ++i) {
    int clock = 1000 + static_cast<int>(i) * 100;
    rows[i].spellings[0] = FourDigits(clock);
    rows[i].spellings[1] = GigahertzOfThree(clock);
    rows[i].value = rows[i].valueOnSlowBus = clock / 100;
  }
  return rows;
}();

constexpr double kFastBusFrom = 126.6635;

template <size_t N>
const BrandRow* FirstMatch(const std::array<BrandRow, N>& rows, std::string_view brand) {
  for (const BrandRow& row : rows) {
    for (const Spelling& s : row.spellings) {
      if (!s.empty() && brand.find(s.view()) != std::string_view::npos) return &row;
    }
  }
  return nullptr;
}

}  // namespace

double RatedClockFromBrand(std::string_view brand) {
  const BrandRow* row = FirstMatch(kThirdsBelowOneGigahertz, brand);
  if (row == nullptr) row = FirstMatch(kThirdsFromOneGigahertz, brand);
  if (row == nullptr) row = FirstMatch(kHundreds, brand);
  if (row == nullptr) row = FirstMatch(kThousands, brand);
  return row != nullptr ? row->value : -1.0;
}

double OriginalMultiplierFromBrand(int kind, std::string_view brand, double measuredBus,
                                   double storedOriginal, double current) {
  const BrandRow* row = nullptr;
  if (kind == 1) {
    row = FirstMatch(kMultipliersOn133, brand);
  } else if (kind == 2) {
    row = FirstMatch(kMultipliersOn100, brand);
    if (row == nullptr) row = FirstMatch(kMultipliersOn100ByThousands, brand);
  } else {
    return current;
  }
  if (row == nullptr) return storedOriginal;
  return measuredBus >= kFastBusFrom ? row->value : row->valueOnSlowBus;
}

}  // namespace velora
