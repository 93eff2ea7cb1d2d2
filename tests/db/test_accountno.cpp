// The account-number services as the windows and readers use them.
#include <gtest/gtest.h>

#include "db/accountno.h"

namespace orvan {
namespace {

struct Case {
  const char* bank;
  const char* entered;
  const char* shown;
};

TEST(AccountNo, HyphenateGivesTheDisplayFormOrKeepsTheEntry) {
  const Case cases[] = {
      {"03", "12345678901234", "123-456789-01-234"},
      {"03", "123-456789-01234", "123-456789-01-234"},  // typed with hyphens: same result
      {"03", "1234-5678-9012-34", "123-456789-01-234"},
      {"71", " 012345-67-890123 ", "012345-67-890123"},
      {"11", "3010123456711", "301-0123-4567-11"},
      {"99", "1234-5678-9", "123456789"},  // a bank added by the user
      // The library has no display form: the entry stays as typed, trimmed,
      // so storing the result never empties the account.
      {"03", "12345", "12345"},
      {"03", " 12-345 ", "12-345"},
      {"04", "계좌번호", "계좌번호"},
      {"04", "12345678901234567890", "12345678901234567890"},
      {"04", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.bank) + " [" + c.entered + "]");
    EXPECT_EQ(HyphenateAccountNo(QString::fromUtf8(c.bank), QString::fromUtf8(c.entered)), QString::fromUtf8(c.shown));
  }
}

TEST(AccountNo, ValidityAcceptsStoredHyphenatedNumbers) {
  struct Valid {
    const char* bank;
    const char* account;
    bool valid;
  } cases[] = {
      {"88", "110-123-456789", true}, {"88", "110123456789", true}, {"88", "110-123-4567", false},
      {"71", "012345-67-890123", true}, {"71", "계좌 012345-67-890123", false}, {"71", "", false},
      // Only unknown banks take any 8 to 16 digits; 새마을금고 keeps its own lengths.
      {"45", "12345678", false}, {"45", "1234-5678-9012-3", true},
  };
  for (const Valid& c : cases) {
    SCOPED_TRACE(std::string(c.bank) + " [" + c.account + "]");
    EXPECT_EQ(IsAccountNoValid(QString::fromUtf8(c.bank), QString::fromUtf8(c.account)), c.valid);
  }
}

TEST(AccountNo, StripHyphensRemovesEveryHyphenOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"123-456789-01-234", "12345678901234"}, {"--1--2--", "12"}, {" 12 -3 ", " 12 3 "}, {"", ""}, {"계-좌", "계좌"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(StripHyphens(QString::fromUtf8(in)), QString::fromUtf8(out));
}

}  // namespace
}  // namespace orvan
