#include "base/Object.h"

#include "base/Exceptions.h"

namespace kelu {

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  std::string from = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName() + ".");
}

}  // namespace kelu
