// The language file that the in-process tests load into g_Language: one file
// for the whole test executable, since the program loads it only once.
#pragma once

#include <string>

namespace langtest {

// Loads the file on the first call; true when g_Language is loaded.
bool LoadProcessLanguage();

std::string Repeat(const std::string& text, int count);

// MANYDLG's controls c000, c001, ... each have a translation t000, t001, ...
constexpr int kManyControls = 520;

} // namespace langtest
