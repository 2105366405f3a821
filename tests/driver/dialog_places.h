// What the end-to-end tests look for in the settings dialog: its caption, the file-open dialog's
// title, and where the three panels sit in its client area.
#pragma once

#include <windows.h>

namespace kineloop::test {

constexpr wchar_t kCaption[] = L"<Kineloopの設定>";
constexpr wchar_t kFileDialogTitle[] = L"ﾌｧｲﾙを開く";
constexpr POINT kPicB{12, 12}, kPicC{28, 120}, kPicD{12, 276};

}  // namespace kineloop::test
