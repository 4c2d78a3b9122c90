#include "editor/control/EditorScreen.h"

#include <algorithm>

#include "editor/control/Editor.h"

namespace kelu {

void TEditorScreen::Repaint(const TLastChange& change) {
  TEditor& e = *editor_;
  const QRect client = e.ClientRect();
  const int width = client.width();
  const int bottom = client.height();
  if (!change.changed) {
    e.Invalidate();
    return;
  }
  const int delta = change.newRowCount - change.oldRowCount;
  const int lastVisible = e.topRow_ + e.visibleRows_;
  if (std::abs(delta) > e.visibleRows_) {
    e.InvalidateRect(QRect(0, e.textTop_, width, bottom - e.textTop_), false);
    return;
  }
  const int first = change.firstRow;
  if (delta != 0) {
    // The rows below the change move by the difference: scroll their pixels
    // (text area and image bar; the left bar's numbers stay with the screen
    // rows) and repaint the rows after the end of the text.
    const int below =
        std::max(e.RowTop(first + std::min(change.oldRowCount, change.newRowCount)), e.textTop_);
    if (below < bottom) {
      const int dy = delta * e.rowHeight_;
      const QRect text(e.textLeft_, below, width - e.textLeft_, bottom - below);
      e.ScrollTextArea(0, dy, text, text);
      if (e.imagebarWidth_ > 0) {
        const QRect images(0, below, e.imagebarWidth_, bottom - below);
        e.ScrollTextArea(0, dy, images, images);
      }
    }
    const int end = std::max(e.RowCount(), e.topRow_);
    if (end <= lastVisible) {
      const int y = e.RowTop(end);
      e.InvalidateRect(QRect(0, y, width, bottom - y), false);
    }
  }
  // The touched rows.
  const int touched = std::max(change.newRowCount, 1);
  const int from = std::max(first, e.topRow_);
  const int to = std::min(first + touched - 1, lastVisible);
  if (from <= to) {
    e.InvalidateRect(QRect(0, e.RowTop(from), width, (to - from + 1) * e.rowHeight_), false);
  }
  // Row numbers change with the row count at the end of the text, line
  // numbers with any change.
  if (e.leftbar_->Visible() && e.leftbar_->ShowNumber()) {
    const bool endShown = e.RowCount() <= lastVisible + 1;
    if ((delta != 0 && endShown) || e.leftbar_->ShowNumberMode() == nmLine) {
      e.InvalidateLeftbarRows(std::max(first, e.topRow_), lastVisible);
    }
  }
}

}  // namespace kelu
