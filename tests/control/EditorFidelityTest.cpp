// Text fidelity where the editor meets Unicode: characters without a
// Shift-JIS form survive typing, the input method, the clipboard and
// search, and are drawn; Shift-JIS characters with two codes keep their
// bytes through copy and paste.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "EditorInputSupport.h"
#include "app/encoding/Encodings.h"
#include "editor/control/EditorResources.h"

namespace kelu::test {
namespace {

std::unique_ptr<TEditor> OpenUtf8(const std::string& utf8) {
  DecodedDocument doc = DecodeDocument(utf8);
  auto e = MakeEditor();
  e->Lines().SetTextStr(doc.text);
  e->SetCodec(doc.codec);
  return e;
}

void SelectAll(TEditor& e) {
  e.SetRowCol(0, 0);
  e.StartSelection();
  e.SetRowCol(e.RowCount() - 1, e.RowEndCol(e.RowCount() - 1));
  e.UpdateSelection();
}

// Code page 932 characters that have a second code: Unicode alone would
// bring the other one back.
TEST(EditorFidelityTest, CopyAndPasteKeepEachDuplicateCode) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"NEC-selected IBM extension (纊, also FA 5C)", "\xED\x40"},
      {"NEC row 13 (≒, also 81 E0)", "\x87\x90"},
      {"NEC row 13 (∵, also 81 E6)", "\x87\x9A"},
      {"NEC row 13 (Ⅰ, also FA 4A)", "\x87\x54"},
      {"IBM extension (￢, also 81 CA)", "\xFA\x54"},
      {"IBM extension (∵, also 81 E6)", "\xFA\x5B"},
      {"NEC-selected IBM extension (ⅰ, also FA 40)", "\xEE\xEF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (TEditorSelectionMode mode : {smNormal, smBox}) {
      auto from = MakeEditor();
      from->Lines().SetTextStr("a" + c.bytes + "b");
      from->SetSelectionMode(mode);
      from->SetRowCol(0, 1);
      from->StartSelection();
      from->SetRowCol(0, 3);
      from->UpdateSelection();
      from->CopyToClipboard();
      // Into another document, and back into the same one.
      auto to = MakeEditor("xy");
      to->SetRowCol(0, 1);
      to->PasteFromClipboard();
      EXPECT_EQ(to->Lines().GetTextStr().substr(0, 4), "x" + c.bytes + "y");
      from->CleanSelection();
      from->SetRowCol(0, 0);
      from->PasteFromClipboard();
      EXPECT_EQ(from->Lines().GetTextStr().substr(0, 3), c.bytes + "a");
    }
  }
}

// Bytes another document's table reads as other characters give way to the
// Unicode text.
TEST(EditorFidelityTest, BytesThatReadDifferentlyHereGiveWayToTheUnicode) {
  auto e = MakeEditor();
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8("😀"));
  data->setData(QString::fromLatin1(kSjisTextMimeType), QByteArray("\xF0\x40"));
  QGuiApplication::clipboard()->setMimeData(data);
  e->PasteFromClipboard();
  EXPECT_EQ(Utf8Text(*e), "😀");
}

TEST(EditorFidelityTest, ForeignCharactersRoundTripThroughTheClipboard) {
  const std::string utf8 = "絵文字 😀 café 한국어 e\xCC\x81 \xEE\x80\x80";
  auto e = OpenUtf8(utf8);
  ASSERT_EQ(Utf8Text(*e), utf8);
  SelectAll(*e);
  e->CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(utf8.c_str()));
  // Pasted into another document, which gives them codes of its own.
  auto other = MakeEditor();
  other->Codec().FromUtf8("\xC3\xB1");  // ñ: a code the first document gave 😀
  other->PasteFromClipboard();
  EXPECT_EQ(Utf8Text(*other), utf8);
  // Saved from there as UTF-8, byte for byte.
  EXPECT_EQ(EncodeDocument(other->Lines().GetTextStr(), moji::kUtf8N, other->Codec()), utf8);
}

TEST(EditorFidelityTest, ForeignCharactersComeInByKeyboardAndInputMethod) {
  auto e = MakeEditor();
  Commit(*e, QString::fromUtf8("한😀"));
  Type(*e, QString::fromUtf8("é"));
  EXPECT_EQ(Utf8Text(*e), "한😀é");
  EXPECT_EQ(e->Lines().GetTextStr().size(), 6u) << "each a double-byte character";
  EXPECT_EQ(e->Codec().AssignedCount(), 3);
}

TEST(EditorFidelityTest, CodesTheTextUsesAreNotHandedOut) {
  // A Shift-JIS file with user-defined characters: a pasted emoji gets a
  // code the text does not use.
  auto e = MakeEditor();
  e->Lines().SetTextStr("\xF0\x40\xF0\x41 x");
  e->SetRowCol(0, 6);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("😀"));
  e->PasteFromClipboard();
  const std::string text = e->Lines().GetTextStr();
  EXPECT_EQ(text.substr(0, 5), "\xF0\x40\xF0\x41 ");
  EXPECT_EQ(text.substr(5), "x\xF0\x42");
  EXPECT_EQ(Utf8Text(*e), "\xEE\x80\x80\xEE\x80\x81 x😀");
}

// The real characters are drawn, not the standard user-defined glyphs that
// their codes would otherwise show.
TEST(EditorFidelityTest, ForeignCharactersAreDrawnInTheirCells) {
  auto withTable = OpenUtf8("a😀한b");
  auto withoutTable = MakeEditor();
  withoutTable->Lines().SetTextStr(withTable->Lines().GetTextStr());
  Show(*withTable);
  Show(*withoutTable);
  const QImage a = Shot(*withTable), b = Shot(*withoutTable);
  const int w = withTable->ColWidth();
  const int x0 = withTable->TextLeft() + w, x1 = withTable->TextLeft() + 5 * w;
  const int y0 = withTable->TextTop(), y1 = y0 + withTable->RowHeight();
  int inked = 0, differ = 0;
  const QRgb back = a.pixel(x1 + w * 8, y0 + 2);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (a.pixel(x, y) != back) ++inked;
      if (a.pixel(x, y) != b.pixel(x, y)) ++differ;
    }
  }
  EXPECT_GT(inked, 20);
  EXPECT_GT(differ, 20);
}

}  // namespace
}  // namespace kelu::test
