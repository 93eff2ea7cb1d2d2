#pragma once
// The program's message boxes, captioned with the application title. Boxes
// close the wait window first; questions hide it and show it again after.
#include <QString>
#include <exception>

#include "platform/prompter.h"

namespace orvan {

QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

void PlainBox(const QString& text);  // no icon
void InfoBox(const QString& text);
void WarnBox(const QString& text);
void ErrorBox(const QString& text);
// True on Yes; No is preselected unless yesDefault.
bool AskYesNo(const QString& text, bool yesDefault = false);
// The pressed button of the set, defaultButton preselected.
Button AskButtons(const QString& text, Buttons buttons, Button defaultButton);

// The application's error handler: shows a failure that ended an operation.
void ReportError(const std::exception& e);
void ReportError(const QString& text);

}  // namespace orvan
