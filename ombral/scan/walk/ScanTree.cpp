// CScanTree: the walk through open folder handles, the order of the list,
// and the cursor that opens the folders again.
#include "walk/ScanTree.h"

#include <algorithm>
#include <cerrno>
#include <map>

#include "previews/PreviewFolder.h"
#include "walk/StackedPrefetch.h"
#include "platform/Crt.h"
#include "platform/Drives.h"
#include "platform/Mounts.h"

namespace {

using platform::EntryKind;
using platform::FolderHandle;

// How many folders each thread of the walk may look at ahead of it.
constexpr int kFoldersAheadPerThread = 4;

struct Child {
  std::string name;
  std::string key;  // upper-cased name
};

// The order of a folder search: by upper-cased name, ties by bytes.
void SortLikeASearch(std::vector<Child>& children) {
  std::sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
    if (const int c = a.key.compare(b.key); c != 0) return c < 0;
    return a.name < b.name;
  });
}

bool IsSameOrBelow(const std::string& path, const std::string& root) {
  if (root.empty() || path.empty()) return false;
  if (path == root) return true;
  return path.compare(0, root.size(), root) == 0 && (root == "/" || path[root.size()] == '/');
}

// The text a folder search reports the root's entries under: the root as
// entered, without trailing backslashes, in absolute form, without trailing
// separators.
std::string RootPrefix(const CString& rootText) {
  std::string folder(rootText.GetView());
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::string prefix = platform::MakeAbsolute(folder + "\\");
  while (!prefix.empty() && (prefix.back() == '\\' || prefix.back() == '/')) prefix.pop_back();
  return prefix;
}

}  // namespace

void CScanTree::SetAudiences(Folder& folder, const platform::EntryInfo& self, platform::AclState acl,
                             bool inheritsAcl, const Folder* parent) {
  folder.inheritsAcl = inheritsAcl;
  folder.listing = CAudience::OfListing(self, acl);
  const CAudience passing = CAudience::OfPassing(self, acl);
  folder.through = parent ? parent->through.And(passing) : passing;
  folder.reach = folder.through.And(folder.listing);
}

struct CScanTree::Walk {
  CScanTree& tree;
  bool followLinks;
  const NoticeFn& notice;
  std::string rootReal;
  bool oneFileSystem = false;
  std::uint64_t rootDevice = 0;
  // The file systems mounted below the top folder, known before any of
  // them is touched; usually none, and then nothing is looked up.
  std::vector<platform::MountPoint> mounts;

  // The names of a folder that stand for folders, in search order, and
  // those left out for a backslash (reported when the walk enters it).
  struct Names {
    std::vector<Child> children;
    std::vector<std::string> backslashes;
  };
  // What the walk looks at in a folder it opens: the handle (opened by
  // name from its parent, not followed), its status, its access lists and
  // its names.
  struct Looked {
    std::shared_ptr<FolderHandle> handle;
    platform::EntryInfo self;
    bool selfKnown = false;
    platform::AclState acl = platform::AclState::Unknown;
    bool inheritsAcl = true;
    Names names;
  };
  using LookAhead = CStackedPrefetch<Looked>;
  std::unique_ptr<LookAhead> ahead;

  struct Frame {
    int node;
    std::shared_ptr<FolderHandle> handle;
    Names names;
    std::vector<LookAhead::Ticket> looks;  // one per child: the look at it, when it was handed ahead
    std::size_t next = 0;
    std::string real;  // the folder's real path, read when a mount may lie in it
    Frame(int node, std::shared_ptr<FolderHandle> handle, Names names)
        : node(node), handle(std::move(handle)), names(std::move(names)) {}
    Frame(Frame&&) = default;
    Frame& operator=(Frame&&) = default;
  };
  std::vector<Frame> stack;

  ~Walk() {
    // Looks handed ahead hold open folders; the threads end first.
    ahead.reset();
  }

  // The file system mounted on `name` of the innermost folder; null when
  // none is (or nothing is mounted below the top at all).
  const platform::MountPoint* MountOn(const FolderHandle& folder, std::string& real, const std::string& name) const {
    if (mounts.empty()) return nullptr;
    if (real.empty()) real = folder.RealPath();
    const std::string path = (real == "/" ? "" : real) + "/" + name;
    for (auto mount = mounts.rbegin(); mount != mounts.rend(); ++mount)
      if (mount->path == path) return &*mount;
    return nullptr;
  }
  // Whether a file system mounted there may be entered.
  bool MayEnter(const platform::MountPoint& mount, int parentNode, const std::string& name) {
    if (mount.IsFuse() && mount.fuseOwner && *mount.fuseOwner != platform::EffectiveUser()) {
      notice(Notice::OthersMount, CString(ChildBase(parentNode)), name);
      return false;
    }
    if (oneFileSystem) {
      notice(Notice::OtherFileSystem, CString(ChildBase(parentNode)), name);
      return false;
    }
    return true;
  }

  const Folder& NodeAt(int node) const { return tree.m_folders[static_cast<std::size_t>(node)]; }

  // The text the paths of a folder's children start with.
  std::string ChildBase(int node) const {
    return node == 0 ? tree.m_prefix : std::string(NodeAt(node).path.GetView());
  }

  bool OnTrail(const platform::FileIdentity& identity) const {
    for (const Frame& frame : stack)
      if (NodeAt(frame.node).identity == identity) return true;
    return false;
  }

  // The names of an open folder that stand for folders, in search order.
  // Runs on the look-ahead threads too: it only reads the walk's settings.
  Names FolderNames(const FolderHandle& folder) const {
    std::vector<platform::FolderName> entries;
    Names names;
    std::string real;
    if (folder.List(entries).Failed()) return names;  // reported when its page is due
    for (platform::FolderName& entry : entries) {
      EntryKind kind = entry.kind;
      // A mount point is a folder, and its status would ask its server.
      if (kind == EntryKind::Unknown && MountOn(folder, real, entry.name)) kind = EntryKind::Folder;
      if (kind == EntryKind::Unknown) {
        platform::EntryInfo info;
        if (folder.Look(entry.name, info).Failed()) continue;
        kind = info.kind;
      }
      if (kind == EntryKind::Link) {
        platform::EntryInfo target;
        if (folder.Look(entry.name, target, true).Failed() || target.kind != EntryKind::Folder) continue;
      } else if (kind != EntryKind::Folder) {
        continue;
      }
      if (entry.name.find('\\') != std::string::npos) {
        names.backslashes.push_back(std::move(entry.name));
        continue;
      }
      Child child{std::move(entry.name), {}};
      child.key = child.name;
      platform::AsciiUpper(child.key);
      names.children.push_back(std::move(child));
    }
    SortLikeASearch(names.children);
    return names;
  }

  // Looks at the open folder of `looked`: its status and access lists,
  // and its names unless it lies on a file system the walk does not enter.
  void LookInside(Looked& looked) const {
    looked.selfKnown = looked.handle->LookSelf(looked.self).Ok();
    if (oneFileSystem && looked.selfKnown && looked.self.device != rootDevice) return;
    (void)looked.handle->LookSelfAcls(looked.acl, looked.inheritsAcl);
    looked.names = FolderNames(*looked.handle);
  }

  // Opens `name` of `parent` without following it and looks inside.
  Looked Look(const std::shared_ptr<FolderHandle>& parent, const std::string& name) const {
    Looked looked;
    looked.handle = std::make_shared<FolderHandle>(parent->OpenFolder(name));
    if (looked.handle->IsOpen()) LookInside(looked);
    return looked;
  }

  void ReportBackslashes(int node, const Names& names) {
    for (const std::string& name : names.backslashes) notice(Notice::Backslash, CString(ChildBase(node)), name);
  }

  // Takes a folder into the walk. Its sub-folders are handed ahead, the
  // first on top, unless a mount may lie there (whether it may be entered
  // is decided when the walk comes to it) or the name is the preview
  // folder's.
  void Enter(int node, std::shared_ptr<FolderHandle> handle, Names names) {
    ReportBackslashes(node, names);
    Frame frame(node, std::move(handle), std::move(names));
    frame.looks.resize(frame.names.children.size());
    for (std::size_t i = frame.names.children.size(); i-- > 0;) {
      const std::string& name = frame.names.children[i].name;
      if (name == CPreviewFolder::kFolderName || MountOn(*frame.handle, frame.real, name)) continue;
      frame.looks[i] = ahead->Push([this, parent = frame.handle, name] { return Look(parent, name); });
    }
    stack.push_back(std::move(frame));
  }

  // Leaves the innermost folder; looks at sub-folders it did not take are
  // given up.
  void Leave() {
    for (const LookAhead::Ticket& look : stack.back().looks)
      if (look) ahead->Drop(look);
    stack.pop_back();
  }

  // Takes the next child of the innermost folder into the list, and enters
  // it when it is to be walked.
  void Step() {
    Frame& frame = stack.back();
    const std::size_t index = frame.next++;
    const Child& child = frame.names.children[index];
    LookAhead::Ticket look = std::move(frame.looks[index]);
    const int parentNode = frame.node;
    // The preview folder's name is the scan's own: whatever stands there is
    // its output (or somebody's folder it will not touch), never a folder of
    // the tree.
    if (child.name == CPreviewFolder::kFolderName) return;

    if (const platform::MountPoint* mount = MountOn(*frame.handle, frame.real, child.name))
      if (!MayEnter(*mount, parentNode, child.name)) return;
    Looked looked = look ? ahead->Take(look) : Look(frame.handle, child.name);
    bool viaLink = false;
    if (!looked.handle->IsOpen() && looked.handle->Error() == ELOOP) {
      auto followed = std::make_shared<FolderHandle>(frame.handle->OpenFolder(child.name, true));
      if (!followed->IsOpen()) return;
      const bool inside = IsSameOrBelow(followed->RealPath(), rootReal);
      if (!followLinks && !inside) {
        notice(Notice::LinkOutside, CString(ChildBase(parentNode)), child.name);
        return;
      }
      if (inside) {
        // Walked at its real place; here only named.
        Folder alias;
        alias.path = CString(ChildBase(parentNode) + "\\" + child.name);
        alias.parent = parentNode;
        alias.name = child.name;
        alias.depth = NodeAt(parentNode).depth + 1;
        alias.viaLink = true;
        alias.aliasOf = -2;
        alias.identity = followed->Identity();
        tree.m_folders.push_back(std::move(alias));
        return;
      }
      looked = Looked{};
      looked.handle = std::move(followed);
      LookInside(looked);
      viaLink = true;
    }
    Folder folder;
    folder.path = CString(ChildBase(parentNode) + "\\" + child.name);
    folder.parent = parentNode;
    folder.name = child.name;
    folder.depth = NodeAt(parentNode).depth + 1;
    folder.viaLink = viaLink;
    if (looked.handle->IsOpen()) {
      if (looked.selfKnown) folder.identity = looked.self.Identity();
      if (OnTrail(folder.identity)) return;  // a link back up the tree
      // Another file system the mount table did not tell of (mounted since).
      if (oneFileSystem && folder.identity.device != rootDevice) {
        notice(Notice::OtherFileSystem, CString(ChildBase(parentNode)), child.name);
        return;
      }
      SetAudiences(folder, looked.self, looked.acl, looked.inheritsAcl, &NodeAt(parentNode));
    }
    const int node = static_cast<int>(tree.m_folders.size());
    tree.m_folders.push_back(std::move(folder));
    // A folder that cannot be opened is still listed: its page reports it.
    if (!looked.handle->IsOpen()) return;
    if (NodeAt(node).depth >= kMaxDepth) {
      ReportBackslashes(node, looked.names);
      if (!looked.names.children.empty()) notice(Notice::TooDeep, NodeAt(node).path, "");
      return;
    }
    Enter(node, std::move(looked.handle), std::move(looked.names));
  }
};

bool CScanTree::Build(const FolderHandle& root, const CString& rootText, bool recurse, bool followLinks,
                      const NoticeFn& notice, const std::function<bool()>& stopRequested, bool oneFileSystem,
                      int threads) {
  m_folders.clear();
  m_order.clear();
  m_prefix = RootPrefix(rootText);
  Folder top;
  top.path = rootText;
  platform::EntryInfo self;
  if (root.LookSelf(self).Ok()) top.identity = self.Identity();
  platform::AclState acl = platform::AclState::Unknown;
  (void)root.LookSelfAcls(acl, top.inheritsAcl);
  SetAudiences(top, self, acl, top.inheritsAcl, nullptr);
  m_folders.push_back(std::move(top));

  if (recurse) {
    Walk walk{*this, followLinks, notice, root.RealPath(), false, 0, {}, {}, {}};
    walk.oneFileSystem = oneFileSystem;
    walk.rootDevice = m_folders[0].identity.device;
    const platform::MountTable mounts = platform::MountTable::Read();
    for (const platform::MountPoint* mount : mounts.Below(walk.rootReal)) walk.mounts.push_back(*mount);
    walk.ahead = std::make_unique<Walk::LookAhead>(threads > 1 ? threads : 0, threads * kFoldersAheadPerThread);
    // The walk needs a handle of its own for the root: the frames own theirs.
    auto rootHandle = std::make_shared<FolderHandle>(root.Reopen());
    if (rootHandle->IsOpen() && rootHandle->Identity() == m_folders[0].identity) {
      Walk::Names names = walk.FolderNames(*rootHandle);
      std::erase_if(names.children, [this](const Child& child) { return m_hiddenAtTop.count(child.name) != 0; });
      walk.Enter(0, std::move(rootHandle), std::move(names));
    }
    while (!walk.stack.empty()) {
      if (stopRequested && stopRequested()) return false;
      if (walk.stack.back().next >= walk.stack.back().names.children.size()) {
        walk.Leave();
        continue;
      }
      walk.Step();
    }
  }

  // Each alias names the folder the walk found at its real place.
  m_aliases = 0;
  std::map<std::pair<std::uint64_t, std::uint64_t>, int>& byIdentity = m_byIdentity;
  byIdentity.clear();
  for (std::size_t i = 0; i < m_folders.size(); ++i)
    if (m_folders[i].aliasOf == -1)
      byIdentity.emplace(std::make_pair(m_folders[i].identity.device, m_folders[i].identity.inode), static_cast<int>(i));
  for (Folder& folder : m_folders) {
    if (folder.aliasOf == -1) continue;
    ++m_aliases;
    const auto found = byIdentity.find({folder.identity.device, folder.identity.inode});
    folder.aliasOf = found == byIdentity.end() ? -2 : found->second;
    // Whoever the link is shown to must be able to see where it leads.
    if (folder.aliasOf >= 0) {
      const Folder& target = m_folders[static_cast<std::size_t>(folder.aliasOf)];
      folder.listing = target.listing;
      folder.reach = target.reach;
      folder.through = target.through;
    }
  }

  // The root first, then the others by the upper-cased text of their
  // paths; equal texts keep the order of the walk.
  std::vector<std::pair<std::string, int>> keyed;
  keyed.reserve(m_folders.size() - 1);
  for (std::size_t i = 1; i < m_folders.size(); ++i) {
    std::string key(m_folders[i].path.GetView());
    platform::AsciiUpper(key);
    keyed.emplace_back(std::move(key), static_cast<int>(i));
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  m_order.reserve(m_folders.size());
  m_order.push_back(0);
  for (const auto& [key, node] : keyed) m_order.push_back(node);
  return true;
}

int CScanTree::NodeOfIdentity(const platform::FileIdentity& identity) const {
  const auto found = m_byIdentity.find({identity.device, identity.inode});
  return found == m_byIdentity.end() ? -1 : found->second;
}

platform::SharedFolder CFolderCursor::Open(int node, int& error) {
  error = 0;
  if (node == 0) return m_root;
  if (m_tree.Node(node).aliasOf != -1) {
    error = ELOOP;
    return nullptr;
  }
  // The chain of nodes from below the root down to `node`.
  std::vector<int> chain;
  for (int at = node; at > 0; at = m_tree.Node(at).parent) chain.push_back(at);
  std::reverse(chain.begin(), chain.end());
  // Keep the open folders this chain shares with the last one.
  std::size_t keep = 0;
  while (keep < m_path.size() && keep < chain.size() && m_path[keep].first == chain[keep]) ++keep;
  m_path.resize(keep);
  for (std::size_t i = keep; i < chain.size(); ++i) {
    const CScanTree::Folder& folder = m_tree.Node(chain[i]);
    const platform::SharedFolder& parent = i == 0 ? m_root : m_path.back().second;
    // A name the walk followed as a link inside the tree is followed again;
    // it must still lead to the folder the walk found.
    auto handle = std::make_shared<platform::FolderHandle>(parent->OpenFolder(folder.name, folder.viaLink));
    if (!handle->IsOpen()) {
      error = handle->Error();
      return nullptr;
    }
    if (!(handle->Identity() == folder.identity)) {
      error = ESTALE;
      return nullptr;
    }
    m_path.emplace_back(chain[i], std::move(handle));
  }
  return m_path.back().second;
}
