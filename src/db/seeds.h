#pragma once
// The reference rows delivered with a fresh installation: banks, work kinds
// and code texts. A new database gets them once; an existing database keeps
// whatever the user has edited since.
#include <vector>

namespace orvan {

struct BankSeed {
  const char* id;    // two digits
  const char* name;  // at most 40 CP949 bytes
  bool chk100;       // 100-byte record layouts
  bool chkJumin;
  bool chkBankNo;
  bool moneyLaw;
  bool juminCheck;
  const char* sendVersion;  // "0" or "1"
};

struct WorkKindSeed {
  const char* id;  // one character, the value of KiGwan.Part
  const char* name;
};

struct CodeSeed {
  const char* bankId;  // "00" for every bank
  const char* kind;    // one letter
  const char* id;      // at most 4 bytes
  const char* name;    // at most 40 CP949 bytes
};

const std::vector<BankSeed>& DeliveredBanks();
const std::vector<WorkKindSeed>& DeliveredWorkKinds();
// In table order (BankID, Kind, ID).
const std::vector<CodeSeed>& DeliveredCodes();

}  // namespace orvan
