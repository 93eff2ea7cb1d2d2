// Formatting send records: every field of every record goes through the
// fixed-width operations, so a 100,000-line batch must format in well under
// a second (target: 1,000,000 records per second).
#include <benchmark/benchmark.h>

#include "app/fixedwidth.h"
#include "platform/cp949.h"

using namespace orvan;

namespace {
struct Line {
  QByteArray name, bank, account, amount, memo, code, id, date, flag, reserve;
};

Line sampleLine(int i) {
  return {cp949::encode(QStringLiteral("홍길동 자금이체")), "04", QByteArray::number(1000000000LL + i),
          QByteArray::number(15000 + i), cp949::encode(QStringLiteral("급여")), "A1", QByteArray::number(i),
          "20261211", "Y", ""};
}

// 1+2+16+13+16+4+6+8+1+33 = 100 bytes.
void formatRecord(QByteArray& out, const Line& l) {
  out.append(PadText(l.flag, 1, true));
  out.append(PadZero(l.bank, 2, false));
  out.append(PadText(l.account, 16, true));
  out.append(PadZero(l.amount, 13, false));
  out.append(PadText(l.name, 16, true));
  out.append(PadText(l.memo, 4, true));
  out.append(PadZero(l.id, 6, false));
  out.append(PadText(l.date, 8, true));
  out.append(PadText(l.code, 1, true));
  out.append(PadText(l.reserve, 33, true));
}

void BM_FormatRecords(benchmark::State& state) {
  std::vector<Line> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back(sampleLine(i));
  QByteArray out;
  for (auto _ : state) {
    out.clear();
    out.reserve(102 * 1000);
    for (const Line& l : lines) {
      formatRecord(out, l);
      out.append("\r\n", 2);
    }
    benchmark::DoNotOptimize(out.data());
  }
  if (out.size() != 102 * 1000) state.SkipWithError("record length is not 100 bytes");
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_FormatRecords);

}  // namespace

BENCHMARK_MAIN();
