// The message-box handler registry and its standard-error default.
#include "platform/MessageBox.h"

#include <cstdio>
#include <string>

namespace platform {
namespace {

// The first button of the box's button set is the answer of the default.
int FirstButton(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    default:
      return IDOK;
  }
}

MessageBoxHandler* g_handler = nullptr;
std::string g_title;

}  // namespace

MessageBoxHandler* SetMessageBoxHandler(MessageBoxHandler* handler) {
  MessageBoxHandler* previous = g_handler;
  g_handler = handler;
  return previous;
}

void SetApplicationTitle(const char* title) { g_title = title ? title : ""; }

const char* GetApplicationTitle() { return g_title.c_str(); }

}  // namespace platform

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = platform::GetApplicationTitle();
  if (platform::MessageBoxHandler* handler = platform::g_handler)
    return handler->Show(owner, text, caption, type);
  if (*caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  } else {
    std::fprintf(stderr, "%s\n", text);
  }
  return platform::FirstButton(type);
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  return MessageBox(nullptr, text, platform::GetApplicationTitle(), type);
}
