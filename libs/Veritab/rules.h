#pragma once
// The per-bank account-number rules of the delivered bank table. Each row
// lists the hyphen patterns the bank uses, one per accepted length; the
// length of a pattern is the sum of its groups. Adding a bank or a format is
// a change to this table only; the checks below refuse a row that is
// ambiguous (two patterns of one length) or malformed at compile time.
#include <array>
#include <cstddef>
#include <string_view>

namespace veritab {

struct BankRule {
  std::string_view code;
  std::string_view name;      // for people reading the table; not used by the rules
  std::string_view patterns;  // blank-separated, e.g. "3-6-2-3 3-2-7"
};

// Banks that merged keep accepting the formats of the banks they absorbed,
// because old accounts stay in use under the new code.
inline constexpr std::array kBanks = {
    BankRule{"03", "기업은행", "3-6-2-3 3-2-7"},
    BankRule{"04", "국민은행", "6-2-6 3-2-4-3"},
    BankRule{"05", "외환은행", "3-6-3 3-2-6-3"},
    BankRule{"06", "국민은행(구 주택)", "4-2-6 6-2-6"},
    BankRule{"07", "수협중앙회", "3-2-6 4-4-4"},
    BankRule{"11", "농협중앙회", "3-2-6 4-2-6 3-4-4-2 6-2-6"},
    BankRule{"12", "단위농협", "3-2-6 4-2-6 3-4-4-2 6-2-6"},
    BankRule{"20", "우리은행", "3-2-6 3-6-3 4-3-6 3-6-2-3"},
    BankRule{"21", "조흥은행", "3-2-6 3-3-6"},
    BankRule{"22", "상업은행", "3-2-6 3-6-3"},
    BankRule{"23", "SC제일은행", "3-2-6 3-3-7"},
    BankRule{"24", "한일은행", "3-2-6 3-6-2-3"},
    BankRule{"25", "서울은행", "3-2-6 3-3-6"},
    BankRule{"26", "신한은행(구)", "3-2-6 3-3-6"},
    BankRule{"27", "한국씨티은행", "3-6-1 3-6-3 3-5-3-2"},
    BankRule{"31", "대구은행", "3-2-6 3-2-6-1 3-4-4-2"},
    BankRule{"32", "부산은행", "3-2-6-1 3-4-4-2"},
    BankRule{"34", "광주은행", "3-3-6 4-3-6"},
    BankRule{"35", "제주은행", "2-2-6 3-2-6 3-3-6"},
    BankRule{"37", "전북은행", "3-2-6-1 4-2-7"},
    BankRule{"39", "경남은행", "3-2-7 3-4-4-2"},
    BankRule{"45", "새마을금고", "4-4-4-1 4-2-6-2"},
    BankRule{"48", "신협", "3-3-6 3-3-7"},
    BankRule{"71", "우체국", "6-2-6"},
    BankRule{"81", "하나은행", "3-2-5-1 3-6-3 3-6-5"},
    BankRule{"88", "신한은행", "3-2-6 3-3-6 3-2-6-2"},
};

// Accepted lengths for a bank code the table does not hold (banks added by
// the user); such numbers are shown as typed, without hyphens.
inline constexpr std::size_t kUnknownMinDigits = 8;
inline constexpr std::size_t kUnknownMaxDigits = 16;

// Digits of one pattern ("3-2-6" -> 11), 0 when malformed.
constexpr std::size_t PatternLength(std::string_view pattern) {
  std::size_t total = 0, group = 0;
  bool inGroup = false;
  for (char c : pattern) {
    if (c >= '0' && c <= '9') {
      group = group * 10 + static_cast<std::size_t>(c - '0');
      inGroup = true;
    } else if (c == '-' && inGroup && group > 0) {
      total += group;
      group = 0;
      inGroup = false;
    } else {
      return 0;
    }
  }
  if (!inGroup || group == 0) return 0;
  return total + group;
}

// Calls f(pattern) for every blank-separated pattern of a row; stops when f
// returns true and reports whether it did.
template <typename F>
constexpr bool ForEachPattern(std::string_view patterns, F f) {
  while (!patterns.empty()) {
    std::size_t end = patterns.find(' ');
    std::string_view one = patterns.substr(0, end);
    if (!one.empty() && f(one)) return true;
    if (end == std::string_view::npos) break;
    patterns.remove_prefix(end + 1);
  }
  return false;
}

constexpr bool RowIsSound(const BankRule& row) {
  if (row.code.size() != 2 || row.patterns.empty()) return false;
  bool seen[kUnknownMaxDigits + 1] = {};
  bool bad = ForEachPattern(row.patterns, [&](std::string_view p) {
    std::size_t n = PatternLength(p);
    if (n == 0 || n > kUnknownMaxDigits || seen[n]) return true;
    seen[n] = true;
    return false;
  });
  return !bad;
}

constexpr bool TableIsSound() {
  for (std::size_t i = 0; i < kBanks.size(); ++i) {
    if (!RowIsSound(kBanks[i])) return false;
    for (std::size_t j = 0; j < i; ++j)
      if (kBanks[i].code == kBanks[j].code) return false;
  }
  return true;
}

static_assert(TableIsSound(), "every bank row needs a unique code and one well-formed pattern per length");
static_assert(PatternLength("3-6-2-3") == 14 && PatternLength("3--6") == 0 && PatternLength("-3") == 0 &&
              PatternLength("3-") == 0 && PatternLength("3-0-2") == 0);

}  // namespace veritab
