// The titles of the program's two top-level windows. Other programs, a second start of this one
// and the tests find the windows by them, so they never change.
#pragma once

namespace kineloop {

constexpr wchar_t kShowWindowTitle[] = L"Kine_Main";
constexpr wchar_t kSettingsDialogTitle[] = L"<Kineloopの設定>";

}  // namespace kineloop
