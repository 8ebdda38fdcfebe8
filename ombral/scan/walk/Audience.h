// CAudience: who may read what the scan writes about a folder or a picture,
// as far as permission bits tell.
//
// A page, a preview or a record tells what is in a folder or a picture: it
// may be read by no one who could not list that folder, or read that
// picture, anyway. Permission bits name three classes: the owner, the
// owning group, everyone else. An access control list (named users or
// groups, a mask) makes the group bits mean something else, so a file or
// folder that carries one counts as its owner's alone; the scan never
// reads user or group databases.
//
// The audiences, from the widest: everyone; the members of one group (the
// owner among them); one user; and the administrator alone (`Self`: the
// scan's own user, who reads everything it wrote). Two audiences together
// (`And`: a folder reached through another) are only as wide as both
// allow; where that cannot be told from ids alone (two groups, a group and
// a user) it is the scan's user alone.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/FolderHandle.h"

class CAudience {
public:
  enum class Kind { Everyone, Group, User, Self };

  static CAudience Everyone() { return CAudience(Kind::Everyone, 0); }
  static CAudience Self() { return CAudience(Kind::Self, 0); }
  // Who may list a folder (read bits), who may pass through it (search
  // bits), who may read a file (read bits).
  static CAudience OfListing(const platform::EntryInfo& folder, platform::AclState acl);
  static CAudience OfPassing(const platform::EntryInfo& folder, platform::AclState acl);
  static CAudience OfReading(const platform::EntryInfo& file, platform::AclState acl);

  Kind GetKind() const { return m_kind; }
  // Those in both.
  CAudience And(const CAudience& other) const;
  // Whether everyone of `other` is among these.
  bool Covers(const CAudience& other) const;

  // The permission bits a file written for this audience may carry at most
  // (everyone: all; a group: none for others; a user or the scan's user:
  // none for group and others), and the group it must then belong to.
  std::uint32_t ModeLimit() const;
  std::optional<std::uint32_t> FileGroup() const;
  // Who can in fact read a file the scan writes for this audience: the
  // file is the scan's user's, so a user audience narrows to the scan's
  // user unless that is the one user.
  CAudience Written() const;

  friend bool operator==(const CAudience&, const CAudience&) = default;

private:
  CAudience(Kind kind, std::uint32_t id) : m_kind(kind), m_id(id) {}
  static CAudience OfBits(const platform::EntryInfo& entry, platform::AclState acl, std::uint32_t ownerBit,
                          std::uint32_t groupBit, std::uint32_t otherBit);

  Kind m_kind;
  std::uint32_t m_id;  // the group or user id
};
