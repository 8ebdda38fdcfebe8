// CZnWndTool::ExecuteFile: the shell's "open" and its messages.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Shell.h"
#include "znwidgets/ZnWndTool.h"

namespace {

struct ShellMessage {
  int code;
  const char* text;  // "%s" stands for the path
};

constexpr ShellMessage kMessages[] = {
    {2, "The specified file %s was not found."},
    {3, "The specified path %s was not found."},
    {5, "The operating system denied access to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .exe file is invalid (non-Win32\xC2\xAE .exe or error in .exe image)."},
    {26, "A sharing violation occurred."},
    {27, "The file name association is incomplete or invalid."},
    {28, "The DDE transaction could not be completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not be completed because other DDE transactions were being "
         "processed."},
    {31, "There is no application associated with the given file name extension."},
    {32, "The specified dynamic-link library was not found."},
};

// The message of a failure the shell could put in words: the file and why.
std::string ReasonMessage(const char* path, const std::string& reason) {
  std::string text = std::string("The file ") + path + " could not be opened: " + reason;
  if (text.back() != '.' && text.back() != '!' && text.back() != '?') text += '.';
  return text;
}

// The message of a code, "" when it has none.
std::string MessageOf(int code, const char* path) {
  for (const ShellMessage& message : kMessages) {
    if (message.code != code) continue;
    std::string text = message.text;
    const std::size_t slot = text.find("%s");
    if (slot != std::string::npos) text.replace(slot, 2, path);
    return text;
  }
  return {};
}

// Copies into the message buffer, cut to its size at a character boundary.
void WriteMessage(const std::string& text, char* buffer) {
  std::size_t length = std::min(text.size(), static_cast<std::size_t>(ZN_EXECUTE_MESSAGE_SIZE - 1));
  while (length > 0 && length < text.size() &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;  // do not end inside a UTF-8 sequence
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

int CZnWndTool::ExecuteFile(HWND owner, const char* path, char* message) {
  const char* file = path ? path : "";
  int result = SE_ERR_NOMEMORY;
  try {
    const int code = ShellExecute(owner, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
    result = code > 32 ? 0 : code;
    if (message && result != 0) {
      // The shell's own words, when it has them, say more than the code's
      // fixed text (which names neither the file nor the cause).
      const std::string reason = platform::ShellFailureReason();
      const std::string text = reason.empty() ? MessageOf(result, file) : ReasonMessage(file, reason);
      if (!text.empty()) WriteMessage(text, message);
    }
  } catch (...) {
    if (message) WriteMessage(MessageOf(SE_ERR_NOMEMORY, file), message);
  }
  return result;
}
