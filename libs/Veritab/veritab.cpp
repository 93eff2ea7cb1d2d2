// The two exported entry points over the rules table. Everything else here
// stays hidden so the library's surface is exactly its C contract.
#include "veritab.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "rules.h"

namespace veritab {
namespace {

// Digits of an account number once "-" and blanks are gone; nothing when
// anything else is in it (letters, double-byte characters, control bytes),
// or when no digit is left.
std::optional<std::string> Digits(std::string_view text) {
  std::string out;
  out.reserve(text.size() < 64 ? text.size() : 64);
  for (char c : text) {
    if (c >= '0' && c <= '9')
      out.push_back(c);
    else if (c != '-' && c != ' ')
      return std::nullopt;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

const BankRule* FindBank(std::string_view code) {
  code = TrimBlanks(code);
  for (const BankRule& row : kBanks)
    if (row.code == code) return &row;
  return nullptr;
}

std::optional<std::string_view> PatternFor(const BankRule& row, std::size_t length) {
  std::optional<std::string_view> found;
  ForEachPattern(row.patterns, [&](std::string_view p) {
    if (PatternLength(p) != length) return false;
    found = p;
    return true;
  });
  return found;
}

// The display form: the digits cut into the pattern's groups.
std::string Apply(std::string_view pattern, std::string_view digits) {
  std::string out;
  std::size_t pos = 0, group = 0;
  auto flush = [&] {
    if (!out.empty()) out.push_back('-');
    out.append(digits.substr(pos, group));
    pos += group;
    group = 0;
  };
  for (char c : pattern) {
    if (c == '-')
      flush();
    else
      group = group * 10 + static_cast<std::size_t>(c - '0');
  }
  flush();
  return out;
}

// The display form of a valid number, nothing for an invalid one.
std::optional<std::string> DisplayForm(const char* bankCode, const char* accountNo) {
  std::optional<std::string> digits = Digits(accountNo);
  if (!digits) return std::nullopt;
  const BankRule* row = FindBank(bankCode);
  if (!row) {
    if (digits->size() < kUnknownMinDigits || digits->size() > kUnknownMaxDigits) return std::nullopt;
    return digits;
  }
  std::optional<std::string_view> pattern = PatternFor(*row, digits->size());
  if (!pattern) return std::nullopt;
  return Apply(*pattern, *digits);
}

}  // namespace
}  // namespace veritab

extern "C" int32_t VeritabIsValid(const char* bankCode, const char* accountNo) {
  if (!bankCode || !accountNo) return 0;
  return veritab::DisplayForm(bankCode, accountNo) ? 1 : 0;
}

extern "C" int32_t Hyphenate(const char* bankCode, const char* accountNo, char* output) {
  if (!output) return -1;
  output[0] = '\0';
  if (!bankCode || !accountNo) return -1;
  std::optional<std::string> shown = veritab::DisplayForm(bankCode, accountNo);
  // Valid numbers are at most 16 digits plus hyphens; the bound is kept
  // anyway so no rule can ever write past the caller's buffer.
  if (!shown || shown->size() >= VERITAB_OUTPUT_SIZE) return 0;
  std::memcpy(output, shown->data(), shown->size());
  output[shown->size()] = '\0';
  return static_cast<int32_t>(shown->size());
}
