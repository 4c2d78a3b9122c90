// The headless editor with counters of what the row list tells it.
#pragma once

#include <string>
#include <vector>

#include "editor/model/HeadlessEditor.h"

namespace kelu::testing {

class FakeEditor : public THeadlessEditor {
 public:
  FakeEditor() { screenRows = 10; }

  void InvalidateRow(int) override { ++invalidatedRows; }
  void RowsChanged() override { ++changes; }
  void RepaintEditor() override { ++repaints; }

  // The rows as "text|attribute" for compact expectations.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < rows.GetCount(); ++i) {
      out.push_back(std::string(rows.View(i)) + "|" + RowAttributeName(rows.RowAttributes(i)));
    }
    return out;
  }

  int invalidatedRows = 0, changes = 0, repaints = 0;
};

}  // namespace kelu::testing
