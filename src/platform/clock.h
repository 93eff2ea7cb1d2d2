#pragma once
// The local clock, replaceable so that cut-off and date rules can be tried
// at any moment.
#include <QDateTime>

namespace orvan {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(QDateTime t) : t_(std::move(t)) {}
  QDateTime now() const override { return t_; }
  void set(QDateTime t) { t_ = std::move(t); }

 private:
  QDateTime t_;
};

const Clock& clock();
void setClock(const Clock* c);  // nullptr restores the system clock
inline QDateTime Now() { return clock().now(); }
inline QDate Today() { return clock().now().date(); }

class ScopedClock {
 public:
  explicit ScopedClock(const QDateTime& t) : c_(t) { setClock(&c_); }
  ~ScopedClock() { setClock(nullptr); }
  void set(const QDateTime& t) { c_.set(t); }

 private:
  FixedClock c_;
};

}  // namespace orvan
