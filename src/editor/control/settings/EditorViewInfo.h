// The view settings of the editor control: a facade over the editor fountain
// that the view owns. Colours, brackets and the reserved-word list live in the
// fountain; any change inside it is reported as a change of the view, so the
// control re-colours and repaints once.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/Notify.h"
#include "editor/fountain/EditorFountain.h"

namespace kelu {

class TEditorViewInfo : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorViewInfo)

  // `owner` is the control (returned by GetOwner, for streaming paths). The
  // constructor runs this class's CreateFountain; a descendant that makes
  // another fountain class installs it with ReplaceFountain(CreateFountain())
  // in its own constructor.
  explicit TEditorViewInfo(TPersistent* owner = nullptr);
  ~TEditorViewInfo() override;
  TEditorViewInfo(const TEditorViewInfo&) = delete;
  TEditorViewInfo& operator=(const TEditorViewInfo&) = delete;

  // Copies Brackets, Colors, Commenter, ControlCode, HexPrefix, Mail,
  // Quotation and Url through the setters, inside one update.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;
  TPersistent* GetOwner() const override { return owner_; }

  TEditorFountain& Fountain() { return *fountain_; }
  const TEditorFountain& Fountain() const { return *fountain_; }

  TEditorBracketCollection& Brackets() { return fountain_->EditorBrackets(); }
  // Assigns into the fountain's brackets.
  void SetBrackets(const TEditorBracketCollection& value);
  TEditorColors& Colors() { return fountain_->Colors(); }
  // Assigns into the fountain's colours.
  void SetColors(const TEditorColors& value);
  const std::string& Commenter() const { return fountain_->Commenter(); }
  void SetCommenter(std::string_view value);
  bool ControlCode() const { return fountain_->ControlCode(); }
  void SetControlCode(bool value);
  const std::string& HexPrefix() const { return fountain_->HexPrefix(); }
  void SetHexPrefix(std::string_view value);
  bool Mail() const { return fountain_->Mail(); }
  void SetMail(bool value);
  const std::string& Quotation() const { return fountain_->Quotation(); }
  // Keeps only the first character of the value (one or two bytes).
  void SetQuotation(std::string_view value);
  bool Url() const { return fountain_->Url(); }
  void SetUrl(bool value);

 protected:
  // A TEditorFountain without owner whose notification list (and reserved
  // word list) report to this view's ChangedProc.
  virtual std::unique_ptr<TEditorFountain> CreateFountain();
  // Installs `fountain` in place of the current one, which is freed.
  void ReplaceFountain(std::unique_ptr<TEditorFountain> fountain);

 private:
  void Detach();

  TPersistent* owner_;
  std::unique_ptr<TEditorFountain> fountain_;
};

}  // namespace kelu
