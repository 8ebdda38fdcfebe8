// CAudience: permission bits read as audiences.
#include "walk/Audience.h"

CAudience CAudience::OfBits(const platform::EntryInfo& entry, platform::AclState acl, std::uint32_t ownerBit,
                            std::uint32_t groupBit, std::uint32_t otherBit) {
  const bool plain = acl == platform::AclState::None;
  const std::uint32_t mode = entry.mode;
  // The classes are exclusive: the owner gets the owner's bits even where
  // others get more, so "everyone" needs all three.
  if (plain && (mode & ownerBit) && (mode & groupBit) && (mode & otherBit)) return Everyone();
  if (plain && (mode & ownerBit) && (mode & groupBit)) return CAudience(Kind::Group, entry.group);
  if (mode & ownerBit) return CAudience(Kind::User, entry.owner);
  return Self();
}

CAudience CAudience::OfListing(const platform::EntryInfo& folder, platform::AclState acl) {
  return OfBits(folder, acl, 0400, 0040, 0004);
}

CAudience CAudience::OfPassing(const platform::EntryInfo& folder, platform::AclState acl) {
  return OfBits(folder, acl, 0100, 0010, 0001);
}

CAudience CAudience::OfReading(const platform::EntryInfo& file, platform::AclState acl) {
  return OfBits(file, acl, 0400, 0040, 0004);
}

CAudience CAudience::And(const CAudience& other) const {
  if (m_kind == Kind::Everyone) return other;
  if (other.m_kind == Kind::Everyone) return *this;
  if (*this == other) return *this;
  return Self();
}

bool CAudience::Covers(const CAudience& other) const {
  return m_kind == Kind::Everyone || *this == other || other.m_kind == Kind::Self;
}

std::uint32_t CAudience::ModeLimit() const {
  switch (m_kind) {
    case Kind::Everyone: return 07777;
    case Kind::Group: return 07770;
    default: return 07700;
  }
}

std::optional<std::uint32_t> CAudience::FileGroup() const {
  if (m_kind == Kind::Group) return m_id;
  return std::nullopt;
}

CAudience CAudience::Written() const {
  if (m_kind == Kind::User && m_id != platform::EffectiveUser()) return Self();
  return *this;
}
