// The object model shared by the editor's classes: a common root, persistent
// objects that copy themselves with Assign, and the description of their
// published properties (see Properties.h).
#pragma once

#include <string>

namespace kelu {

struct TClassInfo;

class TObject {
 public:
  virtual ~TObject() = default;
  virtual const char* ClassName() const { return "TObject"; }
};

// Declares the class name of a class derived from TObject.
#define KELU_CLASS_NAME(Name)              \
  const char* ClassName() const override { \
    return #Name;                          \
  }

class TPersistent : public TObject {
 public:
  KELU_CLASS_NAME(TPersistent)

  // Copies the settings of `source` into this object. The default lets the
  // source try (AssignTo) and fails with EConvertError when neither knows
  // the other.
  virtual void Assign(const TPersistent& source);

  // The published properties of the object's class, or nullptr when it has
  // none.
  virtual const TClassInfo* ClassInfo() const { return nullptr; }

  // The object that owns this one, for streaming paths; none by default.
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent& dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace kelu
