// The base of the program's modal dialogs, run from an in-memory template with no controls.
#include "platform/modal_dialog_win32.h"

#include <cstring>
#include <vector>

namespace kineloop {

namespace {

// A DLGTEMPLATE without controls: header, then menu, class and caption as UTF-16 strings.
std::vector<WORD> DialogTemplate(const std::wstring& caption, DWORD style) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header{};
    header.style = style;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.insert(words.end(), caption.begin(), caption.end());
    words.push_back(0);
    return words;
}

}  // namespace

INT_PTR ModalDialog::Run(HWND owner, const std::wstring& caption, DWORD style) {
    // DS_SETFONT is never set: the dialog chooses its controls' fonts itself.
    const std::vector<WORD> words = DialogTemplate(caption, style & ~DS_SETFONT);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                                   Trampoline, reinterpret_cast<LPARAM>(this));
}

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

void ModalDialog::End(INT_PTR code) {
    if (hwnd_)
        EndDialog(hwnd_, code);
}

INT_PTR CALLBACK ModalDialog::Trampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->hwnd_ = dialog;
        return self->OnInit() ? TRUE : FALSE;
    }
    if (!self)
        return FALSE;
    INT_PTR result = FALSE;
    if (message == WM_COMMAND) {
        self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    const bool answered = self->OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY)
        self->hwnd_ = nullptr;
    return answered ? result : FALSE;
}

}  // namespace kineloop
