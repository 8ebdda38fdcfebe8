/// @file
/// CObject: the common root of the framework's polymorphic classes.
#pragma once

/// The common root of the framework's polymorphic classes: it gives them a
/// virtual destructor, so an object may be deleted through a CObject pointer.
/// It holds no data.
///
/// CObject belongs to the platform layer (`platform_core`). CStringArray,
/// CFile, CFileException, CFileFind and the window classes derive from it;
/// in ZnCore CZnSystem and CZnWinQuarn derive from it directly.
/// @ingroup platform_base
class CObject {
public:
  /// An empty object.
  CObject() = default;
  /// A copy (there is nothing to copy).
  CObject(const CObject&) = default;
  /// Assigns nothing; returns this object.
  CObject& operator=(const CObject&) = default;
  /// Virtual, so derived objects are destroyed whole through a CObject pointer.
  virtual ~CObject() = default;
};
