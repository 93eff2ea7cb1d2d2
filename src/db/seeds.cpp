#include "db/seeds.h"

namespace orvan {

// Banks with a record form of their own (20/22/24, 21, 04, 05, 81, 03, 07 and
// the NACF banks 11/12) keep the 80-byte flag, since a set Chk100 would send
// them the general 100-byte form instead. Send version "1" marks the banks
// that take withdrawal-consent requests.
const std::vector<BankSeed>& DeliveredBanks() {
  static const std::vector<BankSeed> banks = {
      // id   name               chk100 jumin  bankNo moneyLaw juminCheck sendVersion
      {"03", "기업은행", false, false, true, false, false, "1"},
      {"04", "국민은행", false, false, true, false, false, "1"},
      {"05", "외환은행", false, false, true, false, false, "1"},
      {"06", "국민은행(구주택)", false, false, true, false, false, "0"},
      {"07", "수협중앙회", false, false, true, false, false, "1"},
      {"11", "농협중앙회", false, false, true, false, false, "1"},
      {"12", "단위농협", false, false, true, false, false, "1"},
      {"20", "우리은행", false, false, true, false, false, "1"},
      {"21", "조흥은행", false, false, true, false, false, "1"},
      {"22", "상업은행", false, false, true, false, false, "0"},
      {"23", "제일은행", true, false, true, false, false, "1"},
      {"24", "한일은행", false, false, true, false, false, "0"},
      {"25", "서울은행", false, false, true, false, false, "0"},
      {"26", "신한은행", false, false, true, false, false, "1"},
      {"27", "씨티은행", true, false, true, false, false, "1"},
      {"31", "대구은행", false, false, true, false, false, "1"},
      {"32", "부산은행", true, false, true, false, false, "1"},
      {"34", "광주은행", false, false, true, false, false, "0"},
      {"35", "제주은행", false, false, true, false, false, "1"},
      {"37", "전북은행", false, false, true, false, false, "1"},
      {"39", "경남은행", true, false, true, false, false, "1"},
      {"45", "새마을금고", true, false, false, false, false, "0"},
      {"48", "신협중앙회", true, false, true, false, false, "1"},
      {"71", "우체국", true, false, true, false, false, "1"},
      {"81", "하나은행", false, false, true, false, false, "1"},
      {"88", "신한은행(통합)", true, false, true, false, false, "1"},
  };
  return banks;
}

const std::vector<WorkKindSeed>& DeliveredWorkKinds() {
  static const std::vector<WorkKindSeed> kinds = {
      {"1", "자금이체"},       {"2", "CMS 출금이체"}, {"3", "집금내역"},       {"4", "어음내역"},
      {"5", "구매자금/외상채권"}, {"7", "구매자금대출"}, {"8", "기업구매카드"}, {"9", "기업역구매카드"},
      {"A", "구매카드 업체정보"},
  };
  return kinds;
}

const std::vector<CodeSeed>& DeliveredCodes() {
  static const std::vector<CodeSeed> codes = {
      // Every bank.
      {"00", "A", "A", "출금이체신청"},
      {"00", "A", "B", "수납이체"},
      {"00", "A", "C", "지급이체"},
      {"00", "A", "F", "급여이체"},
      {"00", "B", "1", "전체통보"},
      {"00", "B", "2", "불능분통보"},
      {"00", "C", "1", "지정일이체"},
      {"00", "C", "2", "익일이체"},
      {"00", "D", "01", "급여"},
      {"00", "D", "02", "상여"},
      {"00", "D", "03", "연금"},
      {"00", "D", "04", "배당금"},
      {"00", "D", "05", "보험금"},
      {"00", "D", "06", "기타"},
      {"00", "D", "0J", "지로"},
      {"00", "D", "10", "일반출금"},
      {"00", "D", "UP", "대금결제"},
      {"00", "F", "1", "신규"},
      {"00", "F", "2", "해지"},
      {"00", "F", "3", "변경"},
      {"00", "F", "4", "임의해지"},
      {"00", "G", "N", "불능처리"},
      {"00", "G", "Y", "정상처리"},
      {"00", "H", "0000", "정상처리"},
      {"00", "H", "0001", "잔액부족"},
      {"00", "H", "0002", "계좌번호오류"},
      {"00", "H", "0003", "해지계좌"},
      {"00", "H", "0004", "거래정지계좌"},
      {"00", "H", "0005", "예금주성명불일치"},
      {"00", "H", "0006", "실명번호불일치"},
      {"00", "H", "0007", "출금동의미등록"},
      {"00", "H", "0008", "지급정지(압류)계좌"},
      {"00", "H", "0009", "이체한도초과"},
      {"00", "H", "0010", "납부자번호오류"},
      {"00", "H", "0099", "기타불능"},
      {"00", "I", "1", "실명번호"},
      {"00", "I", "2", "납부자번호"},
      {"00", "J", "11", "입금"},
      {"00", "J", "12", "입금취소"},
      {"00", "J", "21", "출금"},
      {"00", "J", "22", "출금취소"},
      {"00", "K", "01", "현금"},
      {"00", "K", "02", "당점권"},
      {"00", "K", "03", "타점권"},
      {"00", "K", "04", "대체"},
      {"00", "L", "01", "등록"},
      {"00", "L", "02", "결제"},
      {"00", "L", "03", "부도"},
      {"00", "L", "04", "반환"},
      {"00", "M", "1", "자행추심"},
      {"00", "M", "2", "타행추심"},
      {"00", "N", "0", "정상"},
      {"00", "N", "1", "취소"},
      // Results of electronic receivables and purchase cards come with the
      // texts of bank "21".
      {"21", "E", "0000", "정상처리"},
      {"21", "E", "0001", "외상채권번호오류"},
      {"21", "E", "0002", "결제계좌오류"},
      {"21", "E", "0003", "사업자번호오류"},
      {"21", "E", "0004", "만기일자오류"},
      {"21", "E", "9999", "기타오류"},
      {"21", "P", "0000", "정상처리"},
      {"21", "P", "0001", "잔액부족"},
      {"21", "P", "0002", "계좌번호오류"},
      {"21", "P", "0003", "한도초과"},
      {"21", "P", "9999", "기타오류"},
  };
  return codes;
}

}  // namespace orvan
