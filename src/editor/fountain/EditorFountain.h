// The editor's own fountain: general-purpose colouring of plain text with a
// line comment, a quotation character, control-code notation, a hexadecimal
// prefix, URL and mail detection, reserved words and multi-line brackets.
// TEditorColors holds one colour per token group plus the selection and
// search-hit colours that the painter uses.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "editor/fountain/Fountain.h"

namespace kelu {

// Token kinds of TEditorParser (they continue the base kinds).
inline constexpr int ttQuotation = 26;    // a string between Quotation characters
inline constexpr int ttDecimalCode = 27;  // decimal digits after "#"
inline constexpr int ttHexCode = 28;      // hexadecimal digits after "#$"

class TEditorFountain;

class TEditorColor : public TFountainColor {
 public:
  KELU_CLASS_NAME(TEditorColor)
  const TClassInfo* ClassInfo() const override;
};

// The colours of the editor fountain. Reserve is not an object of its own:
// it is the fountain's Reserve. Every colour reports to this object, which
// reports to the fountain's event list.
class TEditorColors : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorColors)

  // `fountain` gives the Reserve colour; without one Reserve() is null.
  explicit TEditorColors(TFountain* fountain = nullptr);
  ~TEditorColors() override;
  TEditorColors(const TEditorColors&) = delete;
  TEditorColors& operator=(const TEditorColors&) = delete;

  TEditorColor& Ank() { return ank_; }
  TEditorColor& Comment() { return comment_; }
  TEditorColor& DBCS() { return dbcs_; }
  TEditorColor& Hit() { return hit_; }
  TEditorColor& Int() { return int_; }
  TEditorColor& Mail() { return mail_; }
  TFountainColor* Reserve() { return fountain_ ? &fountain_->Reserve() : nullptr; }
  TEditorColor& Select() { return select_; }
  TEditorColor& Str() { return str_; }
  TEditorColor& Symbol() { return symbol_; }
  TEditorColor& Url() { return url_; }
  TFountain* Fountain() const { return fountain_; }

  // Copies all eleven colours (Reserve included) as one change: the
  // fountain's editors are notified once.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

 private:
  // The own colours in published order (Reserve aside).
  TEditorColor* Own(int i);

  TFountain* fountain_;
  TEditorColor ank_, comment_, dbcs_, hit_, int_, mail_, select_, str_, symbol_, url_;
};

// Brackets whose colours can be set all at once.
class TEditorBracketCollection : public TFountainBracketCollection {
 public:
  KELU_CLASS_NAME(TEditorBracketCollection)
  using TFountainBracketCollection::TFountainBracketCollection;

  // Each sets one value of every item's ItemColor and reports once.
  virtual void SetBkColor(TColor value);
  virtual void SetColor(TColor value);
  virtual void SetStyle(TFontStyles value);
};

// The fountain of every editor. Commenter, ControlCode, HexPrefix, Mail,
// Quotation and Url are plain settings: changing them notifies nobody
// (whoever changes them repaints the editors).
class TEditorFountain : public TFountain {
 public:
  KELU_CLASS_NAME(TEditorFountain)

  explicit TEditorFountain(TComponent* owner = nullptr);
  ~TEditorFountain() override;

  TEditorColors& Colors() { return *colors_; }
  void SetColors(const TEditorColors& value) { colors_->Assign(value); }
  TEditorBracketCollection& EditorBrackets() {
    return static_cast<TEditorBracketCollection&>(Brackets());
  }

  // Text that starts a comment to the end of the logical line; empty: none.
  const std::string& Commenter() const { return commenter_; }
  void SetCommenter(std::string_view value) { commenter_ = value; }
  // "#" with decimal digits and "#$" with hexadecimal digits are tokens.
  bool ControlCode() const { return controlCode_; }
  void SetControlCode(bool value) { controlCode_ = value; }
  // Prefix of a hexadecimal number, compared without case; empty: none.
  const std::string& HexPrefix() const { return hexPrefix_; }
  void SetHexPrefix(std::string_view value) { hexPrefix_ = value; }
  bool Mail() const { return mail_; }
  void SetMail(bool value) { mail_ = value; }
  // Its first character opens and closes a quoted string; empty: none.
  const std::string& Quotation() const { return quotation_; }
  void SetQuotation(std::string_view value) { quotation_ = value; }
  bool Url() const { return url_; }
  void SetUrl(bool value) { url_ = value; }

  // Set the background, the text colour or the style of every token colour
  // (Reserve included; Select, Hit and the brackets stay) with one
  // notification.
  virtual void SetAllBkColor(TColor value);
  virtual void SetAllColor(TColor value);
  virtual void SetAllStyle(TFontStyles value);

  const TClassInfo* ClassInfo() const override;

 protected:
  std::unique_ptr<TFountainBracketCollection> CreateBrackets() override;
  std::unique_ptr<TFountainParser> ParserClass() override;
  // Leaves the colours published as "Select" and "Hit".
  void ColorVisitor(TPersistent& instance, const TPropInfo& prop) override;
  // The colours, linked to this fountain and reporting to its event list.
  virtual std::unique_ptr<TEditorColors> CreateColors();

 private:
  void SetAll(const TFountainColor& color, int flags);

  std::unique_ptr<TEditorColors> colors_;
  std::string commenter_;
  bool controlCode_ = false;
  std::string hexPrefix_;
  bool mail_ = false;
  std::string quotation_;
  bool url_ = false;
};

// The parser of TEditorFountain.
class TEditorParser : public TFountainParser {
 public:
  // Works with any fountain; the editor settings are read when it is a
  // TEditorFountain and are off otherwise.
  explicit TEditorParser(TFountain* fountain);

  void InitMethodTable() override;
  // The base kinds plus ttQuotation.
  TTokenKinds NoRemainTokens() const override;
  TFountainColor* TokenColor() override;

 protected:
  void NormalTokenProc() override;
  // Each start test answers false when its setting is off or empty, and on
  // success moves the scan pointer past what it recognised.
  virtual bool IsQuotationStart();
  virtual void QuotationProc();
  virtual bool IsCommentStart();
  virtual bool IsHexPrefixStart();
  virtual bool IsHexCodeStart();
  virtual void HexCodeProc();
  virtual bool IsDecimalCodeStart();
  virtual void DecimalCodeProc();

  TEditorFountain* editorFountain_;

 private:
  // The quotation character (the first character of Quotation, one or two
  // bytes); empty when there is none.
  std::string_view QuoteChar() const;
};

}  // namespace kelu
