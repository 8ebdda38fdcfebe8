// Message boxes behind a replaceable handler. The default handler writes the
// box to standard error and answers its first button, so a program without a
// window system never blocks; the window layer installs one that shows real
// boxes, and tests install one that records the call and answers it.
#pragma once

#include "platform/WinTypes.h"

struct HWND__;
using HWND = HWND__*;  // an opaque window handle

// Buttons and icons (combine one of each).
inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_TYPEMASK = 0x0F;
inline constexpr UINT MB_ICONMASK = 0xF0;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

namespace platform {

class MessageBoxHandler {
public:
  virtual ~MessageBoxHandler() = default;
  // Shows the box and returns the answer (IDOK, IDYES, ...).
  virtual int Show(HWND owner, const char* text, const char* caption, UINT type) = 0;
};

// Installs a handler (not owned); null puts the default back. Returns the
// previous one (null for the default).
MessageBoxHandler* SetMessageBoxHandler(MessageBoxHandler* handler);

// The caption of boxes shown without one (the application's name).
void SetApplicationTitle(const char* title);
const char* GetApplicationTitle();

}  // namespace platform

int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
// A box with the application's name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
