// The account-number library through its C entry points, as Orvan calls it.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "veritab.h"

namespace {

struct Shown {
  const char* bank;
  const char* digits;
  const char* display;
};

// Every format of every bank of the delivered bank table. The digits run
// 1234... so a group cut at the wrong place shows.
const Shown kFormats[] = {
    {"03", "12345678901234", "123-456789-01-234"},
    {"03", "123456789012", "123-45-6789012"},
    {"04", "12345678901234", "123456-78-901234"},
    {"04", "123456789012", "123-45-6789-012"},
    {"05", "123456789012", "123-456789-012"},
    {"05", "12345678901234", "123-45-678901-234"},
    {"06", "123456789012", "1234-56-789012"},
    {"06", "12345678901234", "123456-78-901234"},
    {"07", "12345678901", "123-45-678901"},
    {"07", "123456789012", "1234-5678-9012"},
    {"11", "12345678901", "123-45-678901"},
    {"11", "123456789012", "1234-56-789012"},
    {"11", "1234567890123", "123-4567-8901-23"},
    {"11", "12345678901234", "123456-78-901234"},
    {"12", "12345678901", "123-45-678901"},
    {"12", "123456789012", "1234-56-789012"},
    {"12", "1234567890123", "123-4567-8901-23"},
    {"12", "12345678901234", "123456-78-901234"},
    {"20", "12345678901", "123-45-678901"},
    {"20", "123456789012", "123-456789-012"},
    {"20", "1234567890123", "1234-567-890123"},
    {"20", "12345678901234", "123-456789-01-234"},
    {"21", "12345678901", "123-45-678901"},
    {"21", "123456789012", "123-456-789012"},
    {"22", "12345678901", "123-45-678901"},
    {"22", "123456789012", "123-456789-012"},
    {"23", "12345678901", "123-45-678901"},
    {"23", "1234567890123", "123-456-7890123"},
    {"24", "12345678901", "123-45-678901"},
    {"24", "12345678901234", "123-456789-01-234"},
    {"25", "12345678901", "123-45-678901"},
    {"25", "123456789012", "123-456-789012"},
    {"26", "12345678901", "123-45-678901"},
    {"26", "123456789012", "123-456-789012"},
    {"27", "1234567890", "123-456789-0"},
    {"27", "123456789012", "123-456789-012"},
    {"27", "1234567890123", "123-45678-901-23"},
    {"31", "12345678901", "123-45-678901"},
    {"31", "123456789012", "123-45-678901-2"},
    {"31", "1234567890123", "123-4567-8901-23"},
    {"32", "123456789012", "123-45-678901-2"},
    {"32", "1234567890123", "123-4567-8901-23"},
    {"34", "123456789012", "123-456-789012"},
    {"34", "1234567890123", "1234-567-890123"},
    {"35", "1234567890", "12-34-567890"},
    {"35", "12345678901", "123-45-678901"},
    {"35", "123456789012", "123-456-789012"},
    {"37", "123456789012", "123-45-678901-2"},
    {"37", "1234567890123", "1234-56-7890123"},
    {"39", "123456789012", "123-45-6789012"},
    {"39", "1234567890123", "123-4567-8901-23"},
    {"45", "1234567890123", "1234-5678-9012-3"},
    {"45", "12345678901234", "1234-56-789012-34"},
    {"48", "123456789012", "123-456-789012"},
    {"48", "1234567890123", "123-456-7890123"},
    {"71", "12345678901234", "123456-78-901234"},
    {"81", "12345678901", "123-45-67890-1"},
    {"81", "123456789012", "123-456789-012"},
    {"81", "12345678901234", "123-456789-01234"},
    {"88", "12345678901", "123-45-678901"},
    {"88", "123456789012", "123-456-789012"},
    {"88", "1234567890123", "123-45-678901-23"},
};

std::string HyphenateToString(const char* bank, const char* account, int32_t* rc = nullptr) {
  char out[VERITAB_OUTPUT_SIZE];
  std::memset(out, 'X', sizeof out);
  int32_t n = Hyphenate(bank, account, out);
  if (rc) *rc = n;
  return std::string(out, strnlen(out, sizeof out));
}

TEST(Veritab, EveryBankFormatIsValidAndShownInItsPattern) {
  for (const Shown& c : kFormats) {
    SCOPED_TRACE(std::string(c.bank) + " " + c.digits);
    EXPECT_EQ(VeritabIsValid(c.bank, c.digits), 1);
    EXPECT_EQ(VeritabIsValid(c.bank, c.display), 1);  // stored numbers are hyphenated
    int32_t rc = 0;
    EXPECT_EQ(HyphenateToString(c.bank, c.digits, &rc), c.display);
    EXPECT_EQ(rc, static_cast<int32_t>(std::strlen(c.display)));
    // Hyphens and blanks of the input, wherever they are, do not change the result.
    EXPECT_EQ(HyphenateToString(c.bank, c.display), c.display);
    std::string messy = std::string(" ") + c.digits;
    messy.insert(3, "- ");
    messy += "-  ";
    EXPECT_EQ(HyphenateToString(c.bank, messy.c_str()), c.display);
  }
}

TEST(Veritab, LengthsABankDoesNotUseAreRefused) {
  std::map<std::string, std::set<size_t>> lengths;
  for (const Shown& c : kFormats) lengths[c.bank].insert(std::strlen(c.digits));
  ASSERT_EQ(lengths.size(), 26u);
  const std::string digits(20, '7');
  for (const auto& [bank, accepted] : lengths) {
    for (size_t n = 1; n <= digits.size(); ++n) {
      SCOPED_TRACE(bank + " length " + std::to_string(n));
      const bool ok = accepted.count(n) > 0;
      const std::string account = digits.substr(0, n);
      EXPECT_EQ(VeritabIsValid(bank.c_str(), account.c_str()), ok ? 1 : 0);
      int32_t rc = -5;
      const std::string shown = HyphenateToString(bank.c_str(), account.c_str(), &rc);
      EXPECT_EQ(rc > 0, ok);
      EXPECT_EQ(shown.empty(), !ok);
    }
  }
}

struct Input {
  const char* bank;
  const char* account;
  int32_t valid;
  const char* display;  // Hyphenate's output
};

TEST(Veritab, JunkBlanksAndBanksTheTableDoesNotHold) {
  const Input cases[] = {
      {"03", "", 0, ""},
      {"03", "- -  -", 0, ""},
      {"03", "1234567890123a", 0, ""},
      {"03", "12345678901234\t", 0, ""},
      {"03", "123456.789012", 0, ""},
      {"03", "\xB0\xE8\xC1\xC2" "12345678901234", 0, ""},      // CP949 "계좌" before the digits
      {"03", "\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xB4\xA3\xB5\xA3\xB6\xA3\xB7", 0, ""},  // full-width digits
      {"03", "+12345678901234", 0, ""},
      {" 03 ", "12345678901234", 1, "123-456789-01-234"},    // bank code as cut from a field
      // A bank added by the user: 8 to 16 digits, shown without hyphens.
      {"99", "1234567", 0, ""},
      {"99", "12345678", 1, "12345678"},
      {"99", "1234-5678-9012-3456", 1, "1234567890123456"},
      {"99", "12345678901234567", 0, ""},
      {"99", "1234567a", 0, ""},
      {"", "123456789", 1, "123456789"},
      {"\xC0\xBA\xC7\xE0", "123456789", 1, "123456789"},  // "은행" as a code is just unknown
  };
  for (const Input& c : cases) {
    SCOPED_TRACE(std::string("[") + c.bank + "] [" + c.account + "]");
    EXPECT_EQ(VeritabIsValid(c.bank, c.account), c.valid);
    int32_t rc = -5;
    EXPECT_EQ(HyphenateToString(c.bank, c.account, &rc), c.display);
    EXPECT_EQ(rc, static_cast<int32_t>(std::strlen(c.display)));
  }
}

TEST(Veritab, MissingArgumentsAreRefusedWithoutTouchingMemory) {
  EXPECT_EQ(VeritabIsValid(nullptr, "12345678901234"), 0);
  EXPECT_EQ(VeritabIsValid("03", nullptr), 0);
  EXPECT_EQ(Hyphenate("03", "12345678901234", nullptr), -1);
  char out[VERITAB_OUTPUT_SIZE] = "old";
  EXPECT_EQ(Hyphenate(nullptr, "12345678901234", out), -1);
  EXPECT_STREQ(out, "");
  std::strcpy(out, "old");
  EXPECT_EQ(Hyphenate("03", nullptr, out), -1);
  EXPECT_STREQ(out, "");
}

TEST(Veritab, LongInputNeverWritesPastTheBuffer) {
  const std::string longDigits(300, '1');
  std::string longHyphens;
  for (int i = 0; i < 150; ++i) longHyphens += "1-";
  // Valid digits drowned in blanks: valid, and the output stays short.
  const std::string padded = std::string(150, ' ') + "12345678901234" + std::string(150, ' ');
  struct Long {
    const char* bank;
    const std::string* account;
    const char* display;
  } cases[] = {{"03", &longDigits, ""}, {"99", &longDigits, ""}, {"71", &longHyphens, ""},
               {"71", &padded, "123456-78-901234"}};
  for (const Long& c : cases) {
    char buffer[2 * VERITAB_OUTPUT_SIZE];
    std::memset(buffer, 'X', sizeof buffer);
    Hyphenate(c.bank, c.account->c_str(), buffer);
    EXPECT_STREQ(buffer, c.display);
    EXPECT_EQ(std::string(buffer + VERITAB_OUTPUT_SIZE, VERITAB_OUTPUT_SIZE), std::string(VERITAB_OUTPUT_SIZE, 'X'));
    EXPECT_EQ(VeritabIsValid(c.bank, c.account->c_str()), *c.display ? 1 : 0);
  }
}

}  // namespace
