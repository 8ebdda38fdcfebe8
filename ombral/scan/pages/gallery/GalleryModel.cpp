// The gallery's model: summaries after the walk, kinds and date order.
#include "pages/gallery/GalleryModel.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include "platform/Clock.h"
#include "platform/Crt.h"

namespace gallery {

int Model::AddFolder(int parent, const std::string& name) {
  Folder folder;
  folder.parent = parent;
  folder.name = name;
  folder.depth = parent < 0 ? 0 : folders[static_cast<std::size_t>(parent)].depth + 1;
  folders.push_back(std::move(folder));
  const int index = static_cast<int>(folders.size()) - 1;
  order.push_back(index);
  return index;
}

void Model::Summarize() {
  for (Folder& folder : folders) {
    folder.children.clear();
    folder.page = !folder.items.empty();
    folder.pictures = folder.videos = 0;
    for (const Item& item : folder.items) {
      if (item.kind == Kind::Picture || item.kind == Kind::Unshown) ++folder.pictures;
      if (item.kind == Kind::Video) ++folder.videos;
    }
    folder.coverFolder = folder.coverItem = -1;
    for (std::size_t i = 0; i < folder.items.size() && folder.coverItem < 0; ++i)
      if (folder.items[i].kind == Kind::Picture) folder.coverItem = static_cast<int>(i);
  }
  // The list holds every folder after its parent: backwards, each folder
  // has all the folders below it done before it is done itself.
  for (auto at = order.rbegin(); at != order.rend(); ++at) {
    const int index = *at;
    Folder& folder = folders[static_cast<std::size_t>(index)];
    std::reverse(folder.children.begin(), folder.children.end());  // they came in backwards
    std::stable_sort(folder.children.begin(), folder.children.end(), [this](int a, int b) {
      return NaturalLess(folders[static_cast<std::size_t>(a)].name, folders[static_cast<std::size_t>(b)].name);
    });
    if (folder.coverItem >= 0) {
      folder.coverFolder = index;
    } else {
      for (const int child : folder.children) {
        const Folder& below = folders[static_cast<std::size_t>(child)];
        if (below.coverFolder >= 0) {
          folder.coverFolder = below.coverFolder;
          folder.coverItem = below.coverItem;
          break;
        }
      }
    }
    if (folder.parent >= 0 && folder.aliasOf >= 0 && folders[static_cast<std::size_t>(folder.aliasOf)].page &&
        folder.shownInParent) {
      Folder& parent = folders[static_cast<std::size_t>(folder.parent)];
      parent.page = true;
      parent.children.push_back(index);
      continue;
    }
    if (folder.parent < 0 || !folder.page) continue;
    Folder& parent = folders[static_cast<std::size_t>(folder.parent)];
    // A folder the readers of its parent's page may not list is no album
    // there: no card, no cover, no count.
    if (!folder.shownInParent) continue;
    parent.page = true;
    parent.pictures += folder.pictures;
    parent.videos += folder.videos;
    parent.children.push_back(index);
  }
}

bool IsVideoName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot + 1);
  platform::AsciiUpper(ext);
  return ext == "MP4" || ext == "M4V" || ext == "MOV" || ext == "WEBM";
}

std::string LocalDateText(std::int64_t seconds) {
  std::tm local{};
  if (!platform::LocalTimeOf(seconds, local)) return {};
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

void SortByDateTaken(std::vector<Item>& items, bool newestFirst) {
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i)
    keys.emplace_back(items[i].taken.empty() ? LocalDateText(items[i].modified) : items[i].taken, i);
  // Equal dates keep the page order.
  std::stable_sort(keys.begin(), keys.end(), [newestFirst](const auto& a, const auto& b) {
    return newestFirst ? b.first < a.first : a.first < b.first;
  });
  std::vector<Item> sorted;
  sorted.reserve(items.size());
  for (const auto& key : keys) sorted.push_back(std::move(items[key.second]));
  items = std::move(sorted);
}

bool NaturalLess(std::string_view a, std::string_view b) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const auto lower = [](char c) { return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      // Numbers: without their leading zeros, the longer is the larger;
      // of equal length, the first differing digit decides.
      while (i < a.size() && a[i] == '0') ++i;
      while (j < b.size() && b[j] == '0') ++j;
      std::size_t endA = i, endB = j;
      while (endA < a.size() && digit(a[endA])) ++endA;
      while (endB < b.size() && digit(b[endB])) ++endB;
      if (endA - i != endB - j) return endA - i < endB - j;
      const int order = a.substr(i, endA - i).compare(b.substr(j, endB - j));
      if (order != 0) return order < 0;
      i = endA;
      j = endB;
      continue;
    }
    if (lower(a[i]) != lower(b[j])) return lower(a[i]) < lower(b[j]);
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

void SortByName(std::vector<Item>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return NaturalLess(a.name, b.name); });
}

}  // namespace gallery
