// CScanTree: the folders a scan visits, found by walking the tree through
// open folder handles, and CFolderCursor, which opens them again one by one.
//
// The list holds the root first and then every folder below it, sorted by
// the upper-cased text of its full path (equal texts in the order the walk
// met them): the order in which the pages and the main index have always
// listed the folders. Each folder's path text is the root's absolute form
// followed by its names, separated by backslashes; the text is for the
// pages and the protocol only. Every folder is reached again by its names,
// one at a time from the root, never through a rebuilt path.
//
// What the walk does not enter:
//  - a symbolic link to a folder outside the tree (unless links are to be
//    followed);
//  - a link to a folder inside the tree: that folder is walked (once) at
//    its real place, and the link is listed as an alias of it (aliasOf),
//    which is never opened: no page is written through it and nothing in
//    it is counted twice;
//  - a folder already on the way down from the root (a link loop);
//  - a name holding a backslash, which a path text could not tell from a
//    separator;
//  - anything named as the scan's preview folder, and what lies below it;
//  - anything deeper than kMaxDepth levels;
//  - a file system another user mounted there with FUSE (its server may
//    never answer; nothing of it is looked at, not even its status), and,
//    when asked to stay on one file system, any other mounted file system.
// Each is reported once through the notice callback.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "walk/Audience.h"
#include "platform/FolderHandle.h"
#include "platform/String.h"

class CScanTree {
public:
  // Folders nested deeper than this are not entered: a tree built to
  // exhaust the scan's open folders ends here instead.
  static constexpr int kMaxDepth = 256;

  struct Folder {
    CString path;                      // the path text shown on pages and in the protocol
    int parent = -1;                   // index of the parent folder; -1 for the root
    std::string name;                  // its name in the parent; "" for the root
    int depth = 0;                     // 0 for the root
    platform::FileIdentity identity;   // as the walk found it
    bool viaLink = false;              // the name is a symbolic link that was followed
    int aliasOf = -1;                  // a link to a folder of the tree: that folder's node (-2: not found)
    // Who may list it (its page and preview folder are for them alone),
    // and who may list it coming from the top, through every folder on
    // the way (what the top's shared files may name of it).
    CAudience listing = CAudience::Self();
    CAudience reach = CAudience::Self();
    CAudience through = CAudience::Self();  // who may pass through it from the top
    bool inheritsAcl = true;  // new files made in it may inherit an access control list
  };

  // Why a name was not entered, for the notice callback.
  enum class Notice { LinkOutside, Loop, Backslash, TooDeep, Unreadable, OthersMount, OtherFileSystem };
  using NoticeFn = std::function<void(Notice, const CString& parentPath, const std::string& name)>;

  // Walks the tree below `root` (already open; `rootText` as the user gave
  // it). Without `recurse` only the root is listed. Returns false when the
  // stop callback asked to stop. With more than one thread, the folders
  // the walk will enter next are opened and listed ahead on that many
  // threads; the list, its order and the notices are the same.
  bool Build(const platform::FolderHandle& root, const CString& rootText, bool recurse, bool followLinks,
             const NoticeFn& notice, const std::function<bool()>& stopRequested, bool oneFileSystem = false,
             int threads = 1);

  // Folders of these names in the top folder are the scan's own output
  // (the gallery's search pieces), never folders of the tree; set before
  // Build.
  void HideAtTop(std::set<std::string> names) { m_hiddenAtTop = std::move(names); }

  int Count() const { return static_cast<int>(m_order.size()); }
  // Folders of the list that are aliases (links to folders of the tree).
  int AliasCount() const { return m_aliases; }
  // The i-th folder of the sorted list (0 is the root).
  const Folder& At(int i) const { return m_folders[static_cast<std::size_t>(m_order[static_cast<std::size_t>(i)])]; }
  int NodeOf(int i) const { return m_order[static_cast<std::size_t>(i)]; }
  const Folder& Node(int node) const { return m_folders[static_cast<std::size_t>(node)]; }

  // The node of the folder the walk found with this identity (not an
  // alias); -1 when none.
  int NodeOfIdentity(const platform::FileIdentity& identity) const;

  // The text every folder path below the root starts with (the root's
  // absolute form without trailing separators).
  const std::string& Prefix() const { return m_prefix; }


private:
  struct Walk;
  static void SetAudiences(Folder& folder, const platform::EntryInfo& self, platform::AclState acl, bool inheritsAcl,
                           const Folder* parent);
  std::vector<Folder> m_folders;  // in the order the walk found them
  std::vector<int> m_order;       // indexes into m_folders, root first, then sorted
  std::string m_prefix;
  int m_aliases = 0;
  std::set<std::string> m_hiddenAtTop;
  std::map<std::pair<std::uint64_t, std::uint64_t>, int> m_byIdentity;
};

// Opens the folders of a tree by their names from the root, keeping the
// folders on the way open, so that visiting the list in order opens each
// folder once. A folder that is no longer the one the walk found (another
// folder or a link took its name) is not opened.
class CFolderCursor {
public:
  CFolderCursor(const CScanTree& tree, platform::SharedFolder root, bool followLinks)
      : m_tree(tree), m_root(std::move(root)), m_followLinks(followLinks) {}

  // The open folder of node `node` (CScanTree::NodeOf); null with `error`
  // set (an errno value; ESTALE when the name now stands for another
  // folder, ELOOP for an alias, which is never opened) when it cannot be
  // opened.
  platform::SharedFolder Open(int node, int& error);

private:
  const CScanTree& m_tree;
  platform::SharedFolder m_root;
  bool m_followLinks;
  std::vector<std::pair<int, platform::SharedFolder>> m_path;  // node and handle, from below the root down
};
