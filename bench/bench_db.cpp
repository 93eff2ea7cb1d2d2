// The data layer under a 100,000-line transfer batch: inserting the lines
// through the lines table object must take under a second, and so must
// opening a grid model on them and reading every display field of every row.
#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "db/dbinit.h"
#include "db/fbdm.h"
#include "db/tablemodel.h"

using namespace orvan;

namespace {

constexpr int kLines = 100000;

struct Fixture {
  QTemporaryDir dir;
  std::unique_ptr<TFbDM> dm;
  Fixture() {
    dm = std::make_unique<TFbDM>(dir.path() + QStringLiteral("/Data/"));
    dm->keyGen().setSleeper([](int) {});
    InitializeDatabase(*dm);
    dm->ReopenAllTables();
    DbTable& t = dm->tblTrans();
    t.append();
    t.setValue(QStringLiteral("ID"), 1);
    t.setValue(QStringLiteral("BankID"), QStringLiteral("26"));
    t.setValue(QStringLiteral("State"), 1);
    t.post();
  }
};

// The lines' texts, made before the clock runs.
struct Input {
  std::vector<QString> accounts, payers;
  explicit Input(int n) {
    for (int i = 1; i <= n; ++i) {
      accounts.push_back(QStringLiteral("110-%1").arg(100000 + i));
      payers.push_back(QStringLiteral("P%1").arg(i));
    }
  }
};

void insertLines(TFbDM& dm, int n, const Input& in) {
  DbTable& l = dm.tblTranSub();
  const QString names[] = {QStringLiteral("홍길동"), QStringLiteral("김철수"), QStringLiteral("이영희")};
  const QString banks[] = {QStringLiteral("04"), QStringLiteral("26")};
  const QString flags[] = {QStringLiteral("N"), QStringLiteral("Y")};
  const QString errors[] = {QStringLiteral("0001"), QStringLiteral("0000")};
  const QString kind = QStringLiteral("01");
  const int cID = l.col(QStringLiteral("ID")), cBank = l.col(QStringLiteral("BankId")),
            cNo = l.col(QStringLiteral("BankNo")), cName = l.col(QStringLiteral("ExName")),
            cWon = l.col(QStringLiteral("TrsWon")), cState = l.col(QStringLiteral("State")),
            cD = l.col(QStringLiteral("CodeD")), cG = l.col(QStringLiteral("CodeG")),
            cH = l.col(QStringLiteral("CodeH")), cNapbu = l.col(QStringLiteral("NapbuNo")),
            cRecv = l.col(QStringLiteral("RecvDate"));
  const QDate today = QDate(2026, 12, 11);
  DbTransaction tx(dm.db());
  for (int i = 1; i <= n; ++i) {
    l.append();
    l.setValue(cID, i);
    l.setValue(cBank, banks[i % 2]);
    l.setValue(cNo, in.accounts[i - 1]);
    l.setValue(cName, names[i % 3]);
    l.setValue(cWon, qint64(10000 + i));
    l.setValue(cState, 1);
    l.setValue(cD, kind);
    l.setValue(cG, flags[i % 10 != 0]);
    l.setValue(cH, errors[i % 10 != 0]);
    l.setValue(cNapbu, in.payers[i - 1]);
    l.setValue(cRecv, today);
    l.post();
  }
  tx.commit();
}

void BM_Insert100kTranSubLines(benchmark::State& state) {
  Input in(kLines);
  for (auto _ : state) {
    state.PauseTiming();
    Fixture f;
    state.ResumeTiming();
    insertLines(*f.dm, kLines, in);
    state.PauseTiming();
    if (f.dm->tblTranSub().rowCount() != kLines) state.SkipWithError("lines missing");
    f.dm.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_Insert100kTranSubLines)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_OpenModelAndReadEveryDisplayField(benchmark::State& state) {
  Fixture f;
  insertLines(*f.dm, kLines, Input(kLines));
  const QStringList fields = {QStringLiteral("ID"),     QStringLiteral("BankId"), QStringLiteral("BankName"),
                              QStringLiteral("BankNo"), QStringLiteral("ExName"), QStringLiteral("NapbuNo"),
                              QStringLiteral("Jumin"),  QStringLiteral("TrsWon"), QStringLiteral("CodeD"),
                              QStringLiteral("DName"),  QStringLiteral("TrsDate"), QStringLiteral("Ninja"),
                              QStringLiteral("MiWon"),  QStringLiteral("CodeG"),  QStringLiteral("GName"),
                              QStringLiteral("CodeH"),  QStringLiteral("HName"),  QStringLiteral("RecvDate"),
                              QStringLiteral("GuBunJa"), QStringLiteral("Stat")};
  qint64 chars = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.dm->tblTranSub().close();
    state.ResumeTiming();
    f.dm->tblTranSub().open();
    DbTableModel model(&f.dm->tblTranSub(), fields);
    const int rows = model.rowCount(), cols = model.columnCount();
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) chars += model.data(model.index(r, c)).toString().size();
    if (rows != kLines) state.SkipWithError("lines missing");
  }
  benchmark::DoNotOptimize(chars);
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_OpenModelAndReadEveryDisplayField)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
