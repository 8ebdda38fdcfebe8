// The resource registry: the modules' tables, searched newest first, and the
// icons loaded from them.
#include "platform/Resource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Registry {
  std::vector<const ResourceModule*> modules;  // in registration order
};

// Never destroyed: modules may unregister during static destruction in any
// order relative to this library's own statics.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

template <typename Entry, typename Member>
const Entry* FindIn(UINT id, Member member) {
  const auto& modules = TheRegistry().modules;
  for (auto it = modules.rbegin(); it != modules.rend(); ++it) {
    for (const Entry& entry : (*it)->*member) {
      if (entry.id == id) return &entry;
    }
  }
  return nullptr;
}

// A loaded icon: its own copy of the image lines, so the handle stays valid
// after the module that held the resource is unloaded.
struct IconImage {
  std::vector<std::string> lines;
  std::vector<const char*> pointers;
};

std::map<const IconResource*, std::unique_ptr<IconImage>>& LoadedIcons() {
  static auto* icons = new std::map<const IconResource*, std::unique_ptr<IconImage>>;
  return *icons;
}

// True when the image has the lines its first line announces ("width
// height colours chars-per-pixel"), so a reader never runs past the table.
bool IsCompleteXpm(std::span<const char* const> xpm, long maxSide = 1024) {
  if (xpm.empty() || !xpm[0]) return false;
  long width = 0, height = 0, colours = 0, charsPerPixel = 0;
  if (std::sscanf(xpm[0], "%ld %ld %ld %ld", &width, &height, &colours, &charsPerPixel) != 4) {
    return false;
  }
  if (width <= 0 || height <= 0 || colours <= 0 || charsPerPixel <= 0 || width > maxSide ||
      height > maxSide || colours > 4096 || charsPerPixel > 4) {
    return false;
  }
  if (xpm.size() < static_cast<std::size_t>(1 + colours + height)) return false;
  for (long colour = 0; colour < colours; ++colour) {
    const char* line = xpm[static_cast<std::size_t>(1 + colour)];
    if (!line || std::strlen(line) < static_cast<std::size_t>(charsPerPixel)) return false;
  }
  for (long row = 0; row < height; ++row) {
    const char* line = xpm[static_cast<std::size_t>(1 + colours + row)];
    if (!line || std::strlen(line) < static_cast<std::size_t>(width * charsPerPixel)) return false;
  }
  return true;
}

}  // namespace

ResourceRegistration::ResourceRegistration(const ResourceModule& module) : m_module(&module) {
  TheRegistry().modules.push_back(m_module);
}

ResourceRegistration::~ResourceRegistration() {
  auto& modules = TheRegistry().modules;
  modules.erase(std::remove(modules.begin(), modules.end(), m_module), modules.end());
}

const DialogTemplate* FindDialogTemplate(UINT id) {
  return FindIn<DialogTemplate>(id, &ResourceModule::dialogs);
}

const IconResource* FindIconResource(UINT id) {
  return FindIn<IconResource>(id, &ResourceModule::icons);
}

const char* FindStringResource(UINT id) {
  const StringResource* entry = FindIn<StringResource>(id, &ResourceModule::strings);
  return entry && entry->text ? entry->text : nullptr;
}

const BitmapResource* FindBitmapResource(UINT id) {
  const BitmapResource* resource = FindIn<BitmapResource>(id, &ResourceModule::bitmaps);
  return resource && IsCompleteXpm(resource->xpm, 4096) ? resource : nullptr;
}

HICON LoadIconResource(UINT id) {
  const IconResource* resource = FindIconResource(id);
  if (!resource || !IsCompleteXpm(resource->xpm)) return nullptr;
  std::unique_ptr<IconImage>& image = LoadedIcons()[resource];
  if (!image) {
    image = std::make_unique<IconImage>();
    for (const char* line : resource->xpm) image->lines.emplace_back(line ? line : "");
    for (const std::string& line : image->lines) image->pointers.push_back(line.c_str());
  }
  return reinterpret_cast<HICON>(image.get());
}

std::span<const char* const> IconImageLines(HICON icon) {
  if (!icon) return {};
  const auto* image = reinterpret_cast<const IconImage*>(icon);
  return image->pointers;
}

}  // namespace platform

BOOL AfxLoadString(UINT id, CString& text) {
  const char* found = platform::FindStringResource(id);
  text = found ? found : "";
  return found != nullptr;
}
