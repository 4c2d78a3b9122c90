// Drag and drop: the editor as a drop target of text and files, and the
// selection dragged out of it. Qt's drag loop is modal and cannot run
// offscreen; the drags here deliver the drag events the loop would deliver
// to the editor's viewport, with the same data object.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <functional>

#include "EditorExTestSupport.h"

namespace kelu {
namespace {

using test::Show;
using test::Sjis;
using test::Top;
using test::X;

// The middle of the cell at (row, col).
QPoint Cell(const TEditor& e, int row, int col) {
  return QPoint(X(e, col) + e.ColWidth() / 2 - 1, Top(e, row) + e.FontHeight() / 2);
}
// The boundary before column `col` of a row: where a drop puts the caret.
QPoint Boundary(const TEditor& e, int row, int col) {
  return QPoint(X(e, col), Top(e, row) + e.FontHeight() / 2);
}

// What the drag loop sends the target while the pointer moves to `to`.
Qt::DropAction DragOver(QWidget* viewport, const QMimeData& data, QPoint to,
                        Qt::KeyboardModifiers modifiers) {
  QDragEnterEvent enter(to, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
  QApplication::sendEvent(viewport, &enter);
  if (!enter.isAccepted()) return Qt::IgnoreAction;
  QDragMoveEvent move(to, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
  QApplication::sendEvent(viewport, &move);
  return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
}

// A whole drag ending with a drop at `to`; the drop's action.
Qt::DropAction Drop(QWidget* viewport, const QMimeData& data, QPoint to,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (DragOver(viewport, data, to, modifiers) == Qt::IgnoreAction) return Qt::IgnoreAction;
  QDropEvent drop(QPointF(to), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
  QApplication::sendEvent(viewport, &drop);
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

void Leave(QWidget* viewport) {
  QDragLeaveEvent leave;
  QApplication::sendEvent(viewport, &leave);
}

// An editor whose drag loop is a given function over the dragged data.
class TDragEditor : public TEditorEx {
 public:
  std::function<TDropEffect(QMimeData&)> loop;
  int drags = 0;

 protected:
  TDropEffect RunDragLoop(QMimeData* data) override {
    ++drags;
    std::unique_ptr<QMimeData> owned(data);
    return loop ? loop(*data) : deNone;
  }
};

std::unique_ptr<TDragEditor> MakeDragEditor(std::string_view utf8Text) {
  auto e = std::make_unique<TDragEditor>();
  e->resize(640, 400);
  e->Lines().SetTextStr(Sjis(utf8Text));
  Show(*e);
  return e;
}

void Select(TEditor& e, int start, int length) {
  e.SetSelStart(start);
  e.SetSelLength(length);
}

void Press(TEditor& e, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), e.viewport()->mapToGlobal(QPointF(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(e.viewport(), &press);
}

TEST(OleddEditorTest, TextDragOffersUnicodeAndTheShiftJisBytes) {
  const std::string text = Sjis("表ソ\\かな\r\nabc");
  auto e = MakeDragEditor("");
  std::unique_ptr<QMimeData> data(e->MakeTextData(text));
  EXPECT_EQ(data->text(), QString::fromUtf8("表ソ\\かな\r\nabc"));
  const QByteArray bytes = data->data(kSjisTextMimeType);
  EXPECT_EQ(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), text);
  std::string dropped;
  ASSERT_TRUE(e->DroppedText(*data, dropped));
  EXPECT_EQ(dropped, text);
  // From another program only Unicode text comes.
  QMimeData other;
  other.setText(QString::fromUtf8("漢字"));
  ASSERT_TRUE(e->DroppedText(other, dropped));
  EXPECT_EQ(dropped, Sjis("漢字"));
  QMimeData image;
  image.setData("image/png", "x");
  EXPECT_FALSE(e->DroppedText(image, dropped));

  // An emoji dragged from another document: its code there is no character
  // here, so the Unicode decides and this document gives it a code.
  auto source = MakeDragEditor("");
  const std::string emoji = source->Codec().FromUtf8("\xF0\x9F\x98\x80");
  std::unique_ptr<QMimeData> foreign(source->MakeTextData(emoji));
  e->Codec().FromUtf8("\xC3\xA9");  // é takes the first code here
  ASSERT_TRUE(e->DroppedText(*foreign, dropped));
  EXPECT_NE(dropped, emoji);
  EXPECT_EQ(e->Codec().ToUtf8(dropped), "\xF0\x9F\x98\x80");
}

TEST(OleddEditorTest, TextFromElsewhereIsInsertedAtTheDropPoint) {
  auto e = MakeDragEditor("abc\r\ndefg");
  Select(*e, 0, 2);
  QMimeData data;
  data.setText(QString::fromUtf8("挿入"));
  EXPECT_EQ(Drop(e->viewport(), data, Boundary(*e, 1, 2)), Qt::CopyAction);
  EXPECT_EQ(e->Lines().GetTextStr(), Sjis("abc\r\nde挿入fg"));
  EXPECT_EQ(e->SelectionState(), stNone);
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 6);

  // Onto the selection of this editor: a copy replaces nothing, it is
  // inserted at the drop point.
  Select(*e, 0, 3);
  EXPECT_EQ(Drop(e->viewport(), data, Boundary(*e, 0, 1)), Qt::CopyAction);
  EXPECT_EQ(e->Lines().GetTextStr(), Sjis("a挿入bc\r\nde挿入fg"));
}

TEST(OleddEditorTest, DroppedFilesWinOverText) {
  auto e = MakeDragEditor("abc");
  struct Call {
    std::vector<std::string> files;
    int keyState = 0;
    QPoint point;
    int count = 0;
  } call;
  struct Handler {
    Call* call;
    void On(TObject*, const std::vector<std::string>& files, int keyState, QPoint point) {
      call->files = files;
      call->keyState = keyState;
      call->point = point;
      ++call->count;
    }
  } handler{&call};
  e->OnDropFiles = TDropFilesEvent::Of<&Handler::On>(&handler);

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/b.txt"), QUrl("https://example.invalid/x"),
                QUrl::fromLocalFile(QString::fromUtf8("/tmp/日本語 a.txt"))});
  data.setText("text too");
  const QPoint at = Boundary(*e, 0, 1);
  EXPECT_EQ(Drop(e->viewport(), data, at, Qt::ControlModifier), Qt::CopyAction);
  const std::vector<std::string> expected{"/tmp/b.txt", "/tmp/日本語 a.txt"};
  EXPECT_EQ(call.count, 1);
  EXPECT_EQ(call.files, expected);
  EXPECT_EQ(call.keyState, MK_LBUTTON | MK_CONTROL);
  EXPECT_EQ(call.point, at);
  ASSERT_EQ(e->DroppedFiles().Count(), 2);
  EXPECT_EQ(e->DroppedFiles()[0], expected[0]);
  EXPECT_EQ(e->DroppedFiles()[1], expected[1]);
  EXPECT_EQ(e->Lines().GetTextStr(), "abc");  // the text was not taken

  // URLs that are no files: the text is dropped.
  QMimeData web;
  web.setUrls({QUrl("https://example.invalid/x")});
  web.setText("T");
  Drop(e->viewport(), web, at);
  EXPECT_EQ(call.count, 1);
  EXPECT_EQ(e->Lines().GetTextStr(), "aTbc");
  // Nothing the editor takes: refused.
  QMimeData image;
  image.setData("image/png", "x");
  EXPECT_EQ(Drop(e->viewport(), image, at), Qt::IgnoreAction);
}

TEST(OleddEditorTest, TheCaretMarksTheDropPointAndComesBackOnLeave) {
  auto e = MakeDragEditor("abcdef\r\nxyz");
  e->SetRowCol(1, 1);
  QMimeData data;
  data.setText("T");
  EXPECT_EQ(DragOver(e->viewport(), data, Boundary(*e, 0, 4), Qt::NoModifier), Qt::CopyAction);
  EXPECT_EQ(e->Row(), 0);
  EXPECT_EQ(e->Col(), 4);
  // Nearest boundary: the right half of a cell goes to its end.
  QDragMoveEvent move(Cell(*e, 0, 2) + QPoint(2, 0), Qt::CopyAction | Qt::MoveAction, &data,
                      Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(e->viewport(), &move);
  EXPECT_EQ(e->Col(), 3);
  Leave(e->viewport());
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 1);
  EXPECT_EQ(e->Lines().GetTextStr(), "abcdef\r\nxyz");
}

TEST(OleddEditorTest, DraggingTheSelectionWithinTheEditorMovesOrCopies) {
  struct Case {
    Qt::KeyboardModifiers modifiers;
    Qt::DropAction action;
    const char* text;
    TRowCol caret;
  };
  const Case cases[] = {
      {Qt::NoModifier, Qt::MoveAction, "a\r\nxybcz", {1, 4}},
      {Qt::ControlModifier, Qt::CopyAction, "abc\r\nxybcz", {1, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto e = MakeDragEditor("abc\r\nxyz");
    Select(*e, 1, 2);  // "bc"
    Qt::DropAction action = Qt::IgnoreAction;
    bool ownWhileDragging = false;
    e->loop = [&](QMimeData& data) {
      ownWhileDragging = e->OwnDrag() == &data && e->DragPending();
      action = Drop(e->viewport(), data, Boundary(*e, 1, 2), c.modifiers);
      return action == Qt::MoveAction ? deMove : deCopy;
    };
    Press(*e, Cell(*e, 0, 1));
    EXPECT_EQ(e->drags, 1);
    EXPECT_TRUE(ownWhileDragging);
    EXPECT_EQ(action, c.action);
    EXPECT_EQ(e->Lines().GetTextStr(), c.text);
    EXPECT_EQ(e->Row(), c.caret.Row);
    EXPECT_EQ(e->Col(), c.caret.Col);
    EXPECT_EQ(e->OwnDrag(), nullptr);
    EXPECT_FALSE(e->DragPending());
    // A move is one step to undo.
    e->Undo();
    EXPECT_EQ(e->Lines().GetTextStr(), "abc\r\nxyz");
  }
}

TEST(OleddEditorTest, DroppingTheSelectionOntoItselfChangesNothing) {
  auto e = MakeDragEditor("abcdef");
  Select(*e, 1, 4);
  e->loop = [&](QMimeData& data) {
    Drop(e->viewport(), data, Boundary(*e, 0, 3));
    return deMove;
  };
  Press(*e, Cell(*e, 0, 2));
  EXPECT_EQ(e->drags, 1);
  EXPECT_EQ(e->Lines().GetTextStr(), "abcdef");
  EXPECT_EQ(e->SelectionState(), stNone);
  EXPECT_FALSE(e->CanUndo());
}

TEST(OleddEditorTest, ACancelledDragPutsTheCaretBack) {
  auto e = MakeDragEditor("abcdef\r\nxyz");
  Select(*e, 1, 3);
  const TRowCol before{e->Row(), e->Col()};
  e->loop = [&](QMimeData& data) {
    // Over the editor, then Escape: the loop leaves the target.
    DragOver(e->viewport(), data, Boundary(*e, 1, 1), Qt::NoModifier);
    EXPECT_EQ(e->Row(), 1);
    Leave(e->viewport());
    return deNone;
  };
  Press(*e, Cell(*e, 0, 2));
  EXPECT_EQ(e->drags, 1);
  EXPECT_EQ(e->Row(), before.Row);
  EXPECT_EQ(e->Col(), before.Col);
  EXPECT_EQ(e->Lines().GetTextStr(), "abcdef\r\nxyz");

  // Dropped into another program: the text stays, the caret comes back.
  Select(*e, 1, 3);
  const TRowCol again{e->Row(), e->Col()};
  e->loop = [](QMimeData&) { return deMove; };
  Press(*e, Cell(*e, 0, 2));
  EXPECT_EQ(e->Row(), again.Row);
  EXPECT_EQ(e->Col(), again.Col);
  EXPECT_EQ(e->Lines().GetTextStr(), "abcdef\r\nxyz");
}

TEST(OleddEditorTest, OnlyAMovableSelectionIsDraggedOut) {
  struct Case {
    const char* what;
    std::function<void(TDragEditor&)> setUp;
    QPoint (*at)(const TEditor&);
  };
  auto inside = [](const TEditor& e) { return Cell(e, 0, 2); };
  const Case cases[] = {
      {"box",
       [](TDragEditor& e) {
         e.SetRowCol(0, 1);
         e.SetSelectionMode(smBox);
         e.StartSelection();
         e.SetRowCol(1, 4);
         e.UpdateSelection();
       },
       inside},
      {"read-only",
       [](TDragEditor& e) {
         Select(e, 1, 3);
         e.SetReadOnly(true);
       },
       inside},
      {"no moving",
       [](TDragEditor& e) {
         Select(e, 1, 3);
         e.Caret().SetSelMove(false);
       },
       inside},
      {"outside", [](TDragEditor& e) { Select(e, 1, 3); },
       [](const TEditor& e) { return Cell(e, 0, 5); }},
      {"left bar", [](TDragEditor& e) { Select(e, 0, 3); },
       [](const TEditor& e) { return QPoint(e.TextLeft() - 2, Top(e, 0) + 2); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto e = MakeDragEditor("abcdef\r\nxyzxyz");
    c.setUp(*e);
    Press(*e, c.at(*e));
    EXPECT_EQ(e->drags, 0);
  }
}

}  // namespace
}  // namespace kelu
