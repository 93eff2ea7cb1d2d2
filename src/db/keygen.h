#pragma once
// TKeyGen hands out the batch numbers (ID) of the master tables. Its state
// is the table KeyTable: per table name, the key issued last. Keys run from
// 1 to 9999 and then start again at 1; a key still used by a row of its
// table is skipped, so a batch never takes the number of a living one.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvan {

class TKeyGen {
 public:
  // Waits after every key; the program pauses 300 ms, tests inject nothing.
  using Sleeper = std::function<void(int milliseconds)>;

  TKeyGen(const QString& dataDir, const QString& connectionName);

  // The tables whose keys are seeded, in seeding order.
  static const QStringList& SeededTables();
  static constexpr int kMaxKey = 9999;
  static constexpr int kPauseMs = 300;

  // Creates KeyTable when it does not exist and seeds every seeded table
  // that has no row yet from that table's largest ID. Returns the names
  // seeded (empty when nothing changed). Throws DbError.
  QStringList EnsureKeyTable();
  bool keyTableCreated() const { return created_; }

  // The next key of the table; stores it as the key issued last.
  int NextKey(const QString& table);
  int lastKey() const { return lastKey_; }

  void setSleeper(Sleeper s) { sleeper_ = std::move(s); }
  const QString& dataDir() const { return dataDir_; }

 private:
  int seedValue(const QString& table);
  void seed(const QString& table);
  bool keyInUse(const QString& table, int key);
  QSqlDatabase db() const;

  QString dataDir_;
  QString connection_;
  int lastKey_ = 0;
  bool created_ = false;
  Sleeper sleeper_;
};

}  // namespace orvan
