/// @file
/// CObject: the common root of the framework's polymorphic classes.
#pragma once

class CObject {
public:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
  virtual ~CObject() = default;
};
