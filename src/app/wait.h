#pragma once
// The wait window: one at most, created on first use. The GUI installs a
// window behind this interface; without one (orvanctl, tests) the calls
// only keep the state.
#include <QString>

namespace orvan {

class WaitIndicator {
 public:
  virtual ~WaitIndicator() = default;
  virtual void showMessage(const QString& text) = 0;
  virtual void showProgress(const QString& text, int minimum, int maximum, bool countSwitch) = 0;
  virtual void setPosition(int position, const QString& label) = 0;
  virtual void hide() = 0;
  virtual void reshow() = 0;
  virtual void close() = 0;
  virtual bool exists() const = 0;
  virtual bool isVisible() const = 0;
};

void setWaitIndicator(WaitIndicator* w);  // nullptr: none
WaitIndicator* waitIndicator();

void ShowWait(const QString& text);
void ShowProgress(const QString& text, int minimum, int maximum, bool countSwitch = false);
void StepProgress();
void HideWait();
void ReshowWait();
void CloseWait();

// The progress label as the window shows it: "position/maximum" with the
// count switch, otherwise the whole-number percentage and " %".
QString ProgressLabel(int minimum, int maximum, int position, bool countSwitch);

}  // namespace orvan
