// The screen repainter of an editor control: after a change of the row list
// it repaints what the change touched, from the list's last-change record.
#pragma once

#include "editor/model/ScreenStrings.h"

namespace kelu {

class TEditor;

class TEditorScreen {
 public:
  explicit TEditorScreen(TEditor* editor) : editor_(editor) {}
  virtual ~TEditorScreen() = default;
  TEditorScreen(const TEditorScreen&) = delete;
  TEditorScreen& operator=(const TEditorScreen&) = delete;

  // Repaints after `change`: the touched rows; the rows below the change
  // are scrolled by the difference in rows when rows were inserted or
  // removed (text area and image bar), then the rows after the end of the
  // text are repainted; the left bar's numbers from the change down when
  // they can have changed. A change of more rows than the screen shows
  // repaints everything below the ruler.
  virtual void Repaint(const TLastChange& change);

 protected:
  TEditor* editor_;
};

}  // namespace kelu
