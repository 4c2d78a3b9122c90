// TEditorEx: the editor of every page. On top of TOleddEditor it
//  - searches its text for FindString under ExSearchOptions through the
//    regular-expression library (FindNext steps from hit to hit; the row
//    painting underlines every hit on the screen);
//  - draws a second layer over each painted row: guide lines (VerticalLines),
//    row backgrounds, hit text and underlines, outlines of blanks and tabs
//    and the bracket pair at the caret (ExMarks);
//  - keeps the page's file name, encoding name and undo/redo flags, and the
//    names of files dropped on it.
//
// The search pattern is compiled once per change of FindString or
// ExSearchOptions and reused by every search and every painted row. A
// pattern that does not compile, a match given up for too much
// backtracking and a missing library are reported by SearchStatus and
// SearchErrorText (Japanese), never taken silently as "no hit"; once a
// search is given up while painting, the rest of that paint collects no
// more hits.
//
// Source files: EditorEx.cpp (construction, properties, caret moves,
// bracket pairs, dropped files), EditorExFind.cpp (search), EditorExPaint.cpp
// (the drawing layer).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ex/EditorExMarks.h"
#include "editor/ex/OleddEditor.h"
#include "editor/ex/matcher/EditorExSearch.h"

namespace kelu {

class TEditorEx : public TOleddEditor {
  Q_OBJECT

 public:
  KELU_CLASS_NAME(TEditorEx)

  explicit TEditorEx(QWidget* parent = nullptr);
  ~TEditorEx() override;

  const TClassInfo* ClassInfo() const override;

  // ------------------------------------------------ published properties
  TEditorExMarks& ExMarks() { return *exMarks_; }
  void SetExMarks(const TEditorExMarks& value) { exMarks_->Assign(value); }
  TVerticalLines& VerticalLines() { return *verticalLines_; }
  void SetVerticalLines(const TVerticalLines& value) { verticalLines_->Assign(value); }
  TExSearchOptions ExSearchOptions() const { return search_.ExSearchOptions(); }
  // Repaints the hits when FindMark is shown.
  void SetExSearchOptions(TExSearchOptions value);
  // Logical lines joined by the line-spanning search (default 5); 0 or less
  // is ignored.
  int FindLineFeedCount() const { return search_.FindLineFeedCount(); }
  void SetFindLineFeedCount(int value) { search_.SetFindLineFeedCount(value); }
  // The page's file name and encoding name ("SJIS", "UTF8N", ...), and the
  // undo- and redo-available flags the main window keeps here.
  const std::string& OpenFileName() const { return openFileName_; }
  void SetOpenFileName(const std::string& value) { openFileName_ = value; }
  const std::string& MojiCode() const { return mojiCode_; }
  void SetMojiCode(const std::string& value) { mojiCode_ = value; }
  bool ChangedFlg() const { return changedFlg_; }
  void SetChangedFlg(bool value) { changedFlg_ = value; }
  bool RedoFlg() const { return redoFlg_; }
  void SetRedoFlg(bool value) { redoFlg_ = value; }

  // --------------------------------------------------------------- search
  // The pattern as typed (Shift-JIS); empty: nothing is searched. A change
  // repaints the hits when FindMark is shown.
  const std::string& FindString() const { return search_.FindString(); }
  void SetFindString(std::string_view value);

  // Find next: from the caret (past the hit shown with hsCaret) to the end
  // of the text, logical line by logical line; the hit found is shown as
  // HitStyle prescribes and FoundFlg set. False when nothing was found (or
  // nothing could be searched: see SearchStatus); the caret then stays.
  // A line-spanning pattern goes to FindNextAcrossLines.
  bool FindNext();
  // The line-spanning search (IsMultiLineSearch): from the caret, or one
  // character past the selection's start, the first match in
  // FindLineFeedCount joined logical lines, selected (across line breaks).
  bool FindNextAcrossLines();
  // Every hit in the logical line holding `row`; their number.
  int CollectHits(int row);
  const std::vector<TEditorExHit>& Hits() const { return search_.Hits(); }
  // The first hit of the logical line holding `row` whose 0-based start is
  // at or after `offset` (with word wrap off, none starting after byte
  // 1000); sets FoundStart, FoundLength and FoundGroups.
  virtual bool FindInLineForward(int row, int offset);
  // The last hit whose 1-based Start is at most `offset`.
  virtual bool FindInLineBackward(int row, int offset);
  int FoundStart() const { return search_.FoundStart(); }
  int FoundLength() const { return search_.FoundLength(); }
  const std::vector<std::string>& FoundGroups() const { return search_.FoundGroups(); }
  // Set by every successful FindNext, never cleared.
  bool FoundFlg() const { return foundFlg_; }
  // The pattern holds \r\n and is a regular expression.
  virtual bool IsMultiLineSearch() const;
  // Whether the regular-expression library could be bound.
  bool RegexAvailable() const { return regexAvailable_; }
  // Whether the last search could search, and if not why (Japanese, with
  // the library's own message): no library, a bad pattern, a match given
  // up. What a status bar shows.
  TExSearchStatus SearchStatus() const { return search_.Status(); }
  const std::string& SearchErrorText() const { return search_.ErrorText(); }

  // The text of the logical line holding `row`: its rows joined.
  std::string GetLogicalLineText(int row) const;
  // The first and the last row of the logical line holding `row` (a row
  // outside the text is returned unchanged).
  virtual int LineFirstRow(int row) const;
  virtual int LineLastRow(int row) const;
  // `count` + 1 logical lines from the one holding `row` (a negative count
  // moves back first), each followed by CR LF unless it ends the text.
  std::string GetLinesText(int row, int count) const;
  virtual std::string ExpandReplaceText(std::string_view replaceText,
                                        const TEditorExHit& hit) const;
  // rec.Text = the logical line of rec.RowIndex with every hit replaced;
  // returns the number of hits. The editor's text is not changed.
  virtual int ReplaceInLine(TEditorExReplaceRec& rec);
  virtual std::string RegexLibraryVersion() const;
  virtual std::string RegexLibraryInfo() const;
  // The kind of the character at 1-based `index` of `text` (word parts).
  virtual char GetCharKind(std::string_view text, int index) const;
  // The byte of row `row` at display column `col` (0-based).
  virtual int ColToCharIndex(int row, int col) const;

  // --------------------------------------------------------- bracket pair
  // Looks for the partner of the bracket at 1-based byte `pos` of row `row`:
  // an opener is matched forward, a closer backward, counting nesting,
  // across any number of rows.
  bool FindBracketPair(int row, int pos);
  bool ParenFound() const { return parenFound_; }
  int OpenParenRow() const { return openParenRow_; }
  int OpenParenPos() const { return openParenPos_; }
  const std::string& OpenParenText() const { return openParenText_; }
  int CloseParenRow() const { return closeParenRow_; }
  int CloseParenPos() const { return closeParenPos_; }
  const std::string& CloseParenText() const { return closeParenText_; }

  // ------------------------------------------------------- dropped files
  // The files of the last drop, in the order the drop listed them.
  TStringList& DroppedFiles() { return droppedFiles_; }

 protected:
  TEditorEx(QWidget* parent, TDeferConstruction);
  // TOleddEditor's construction, then this editor's own parts.
  void Construct();

  // ------------------------------------------------- the drawing layer
  // `rightHalfOnly`: the left half is scrolled out of view.
  virtual void DrawDBSpaceMark(int x, int y, bool rightHalfOnly);
  virtual void DrawSpaceMark(int x, int y);
  virtual void DrawTabMark(int x, int y);
  // From x1 to x2 - 1 at y.
  virtual void DrawFindUnderline(int x1, int x2, int y);
  // The hit's characters of `lineStr` (tabs expanded; column 0 at `x`)
  // between x1 and x2 in the hit colours.
  virtual void DrawHitText(const std::string& lineStr, int x, int y, int x1, int x2);
  virtual void DrawParenMark(int x, int y, const std::string& text);
  virtual void DrawLineBackground(const std::string& lineStr, int x, int y, int index,
                                  const QRect& rect, TColor color);
  virtual void DrawVerticalLine(int index);
  virtual void DrawVerticalLines();
  // The factory of ExMarks.
  virtual std::unique_ptr<TEditorExMarks> CreateExMarks();

  // ------------------------------------------------------ TEditor hooks
  void DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                  bool selected) override;
  void DoCaretMoved() override;
  void DoChange() override;
  void DoTopColChange() override;
  void Paint(const QRect& clip) override;
  void DrawEofMark(int x, int y) override;
  void DrawUnderline(int row) override;
  void DropFiles(const std::vector<std::string>& files, int keyState, QPoint point) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  class TRowSource;

  void VerticalLinesChanged(TObject* sender);
  // The text of the logical line holding `row`, as a view of the row itself
  // when the line has one row, else joined into `buffer`.
  std::string_view LogicalLineView(int row, std::string& buffer) const;
  // Bytes every match of a literal FindString holds (empty: none known, or
  // a regular expression).
  std::string LiteralNeedle() const;
  // The byte offset of row `row`'s first byte in its logical line.
  int OffsetInLine(int row) const;
  // The hits of the logical line holding `row` while painting (searched
  // once per line and paint); empty once a search of this paint was given
  // up.
  const std::vector<TEditorExHit>& PaintHits(int row);
  // The colour of the row background of row `index`, or clNone.
  TColor LineBackgroundColor(int index) const;
  void DrawRowHits(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                   bool selected, int right);
  void DrawCharMarks(int x, int y, int index, const QRect& rect, int right);
  void RepaintParenRows();
  void InvalidateTextRow(int row);

  std::unique_ptr<TEditorExMarks> exMarks_;
  std::unique_ptr<TVerticalLines> verticalLines_;
  TStringList droppedFiles_;
  std::string openFileName_;
  std::string mojiCode_;
  bool changedFlg_ = false;
  bool redoFlg_ = false;

  // Search.
  mutable TEditorExSearch search_;
  bool foundFlg_ = false;
  bool regexAvailable_ = false;
  std::string lineBuffer_;  // a joined logical line
  // While painting: the first row of the logical line whose hits the
  // search holds (-1: none), and whether a search was given up.
  int paintHitsLine_ = -1;
  bool paintHitsGivenUp_ = false;
  QRect paintClip_;  // the rectangle being painted

  // Bracket pair.
  bool parenFound_ = false;
  int openParenRow_ = 0;
  int openParenPos_ = 0;
  std::string openParenText_;
  int closeParenRow_ = 0;
  int closeParenPos_ = 0;
  std::string closeParenText_;

  // Caret moves.
  int lastCaretRow_ = -1;
  bool repaintAfterChange_ = false;
  int caretMovesSinceChange_ = 0;
};

}  // namespace kelu
