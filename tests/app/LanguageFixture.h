// A main window in a temporary program folder for the shell's widget tests, with helpers to
// ship language files beside it and to answer modal dialogs.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "app/TForm1.h"
#include "support/TempFolder.h"
#include "ui/PageContext.h"

namespace pagelathe::testing {

// The shipped language file of `name` ("English", "Russian") as bytes.
[[nodiscard]] std::string ShippedLanguageFile(const std::string& name);

// Writes the settings file of a program in `folder`: no first-start dialog, and the extra
// "key=value" lines of section Options.
void WriteSettings(const TempFolder& folder, const std::string& extra_lines = "");

// Copies the shipped language files into `folder`/language/.
void ShipLanguageFiles(const TempFolder& folder);

// Writes a language file of our own: "[Interface]" and the given lines, each ended by CR LF.
void WriteLanguageFile(const TempFolder& folder, const std::string& name, const std::string& lines);

// Runs `action` once `dialog` is shown modally (from inside its event loop). Call before the
// code that shows the dialog.
void WhenShown(QDialog* dialog, std::function<void()> action);

}  // namespace pagelathe::testing
