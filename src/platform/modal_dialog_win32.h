// The base of the program's modal dialogs: the platform's dialog manager runs the modal loop
// (tab order, Enter and Esc, disabling the owner); a derived dialog builds its controls in OnInit
// and answers them in OnCommand.
#pragma once

#include <string>

#include <windows.h>

namespace kineloop {

class ModalDialog {
  public:
    virtual ~ModalDialog() = default;

    // Shows the dialog with this caption and window style, owned by `owner` (may be nullptr),
    // and returns the code given to End, or -1 when it could not be shown.
    INT_PTR Run(HWND owner, const std::wstring& caption, DWORD style);
    HWND Hwnd() const { return hwnd_; }

  protected:
    // WM_INITDIALOG: create and fill the controls. Returns whether the dialog manager should
    // give the focus to the first control in tab order.
    virtual bool OnInit() { return true; }
    // WM_COMMAND from a control (or IDOK / IDCANCEL from Enter, Esc and the close box).
    virtual void OnCommand(int id, int notification, HWND control) = 0;
    // Every other message; returns true and sets `result` when it answered it.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Ends the modal loop; Run returns `code`.
    void End(INT_PTR code);

  private:
    static INT_PTR CALLBACK Trampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace kineloop
