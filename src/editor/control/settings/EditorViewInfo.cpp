#include "editor/control/settings/EditorViewInfo.h"

#include "base/Sjis.h"

namespace kelu {

TEditorViewInfo::TEditorViewInfo(TPersistent* owner) : owner_(owner) {
  fountain_ = TEditorViewInfo::CreateFountain();
}

TEditorViewInfo::~TEditorViewInfo() {
  Detach();
}

std::unique_ptr<TEditorFountain> TEditorViewInfo::CreateFountain() {
  auto fountain = std::make_unique<TEditorFountain>();
  TNotifyEvent changed = TNotifyEvent::Of<&TEditorViewInfo::ChangedProc>(this);
  fountain->NotifyEventList().Add(changed);
  // The list itself does not tell the fountain when it is assigned into
  // directly (as property copies do), so it reports here too.
  fountain->ReserveWordList().OnChange = changed;
  return fountain;
}

void TEditorViewInfo::Detach() {
  if (!fountain_) return;
  TNotifyEvent changed = TNotifyEvent::Of<&TEditorViewInfo::ChangedProc>(this);
  fountain_->NotifyEventList().Remove(changed);
  if (fountain_->ReserveWordList().OnChange == changed) fountain_->ReserveWordList().OnChange = {};
}

void TEditorViewInfo::ReplaceFountain(std::unique_ptr<TEditorFountain> fountain) {
  Detach();
  fountain_ = std::move(fountain);
}

void TEditorViewInfo::SetBrackets(const TEditorBracketCollection& value) {
  Brackets().Assign(value);
}

void TEditorViewInfo::SetColors(const TEditorColors& value) {
  Colors().Assign(value);
}

void TEditorViewInfo::SetCommenter(std::string_view value) {
  if (fountain_->Commenter() == value) return;
  fountain_->SetCommenter(value);
  Changed();
}

void TEditorViewInfo::SetControlCode(bool value) {
  if (fountain_->ControlCode() == value) return;
  fountain_->SetControlCode(value);
  Changed();
}

void TEditorViewInfo::SetHexPrefix(std::string_view value) {
  if (fountain_->HexPrefix() == value) return;
  fountain_->SetHexPrefix(value);
  Changed();
}

void TEditorViewInfo::SetMail(bool value) {
  if (fountain_->Mail() == value) return;
  fountain_->SetMail(value);
  Changed();
}

void TEditorViewInfo::SetQuotation(std::string_view value) {
  value = value.substr(0, sjis::CharLength(value, 0));
  if (fountain_->Quotation() == value) return;
  fountain_->SetQuotation(value);
  Changed();
}

void TEditorViewInfo::SetUrl(bool value) {
  if (fountain_->Url() == value) return;
  fountain_->SetUrl(value);
  Changed();
}

void TEditorViewInfo::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TEditorViewInfo*>(&source);
  if (!src) {
    TNotifyPersistent::Assign(source);
    return;
  }
  auto& from = const_cast<TEditorViewInfo&>(*src);
  BeginUpdate();
  try {
    SetBrackets(from.Brackets());
    SetColors(from.Colors());
    SetCommenter(from.Commenter());
    SetControlCode(from.ControlCode());
    SetHexPrefix(from.HexPrefix());
    SetMail(from.Mail());
    SetQuotation(from.Quotation());
    SetUrl(from.Url());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

const TClassInfo* TEditorViewInfo::ClassInfo() const {
  using C = TEditorViewInfo;
  static const TClassInfo info =
      TPropsOf<C>("TEditorViewInfo", nullptr)
          .Obj("Brackets", TypeClass("TEditorBracketCollection"),
               [](C& v) { return &v.Brackets(); })
          .Obj("Colors", TypeClass("TEditorColors"), [](C& v) { return &v.Colors(); })
          .Str(
              "Commenter", [](const C& v) { return v.Commenter(); },
              [](C& v, const std::string& s) { v.SetCommenter(s); })
          .Ord(
              "ControlCode", TypeBoolean(), 0, [](const C& v) { return v.ControlCode(); },
              [](C& v, std::int64_t x) { v.SetControlCode(x != 0); })
          .Str(
              "HexPrefix", [](const C& v) { return v.HexPrefix(); },
              [](C& v, const std::string& s) { v.SetHexPrefix(s); })
          .Ord(
              "Mail", TypeBoolean(), 0, [](const C& v) { return v.Mail(); },
              [](C& v, std::int64_t x) { v.SetMail(x != 0); })
          .Str(
              "Quotation", [](const C& v) { return v.Quotation(); },
              [](C& v, const std::string& s) { v.SetQuotation(s); })
          .Ord(
              "Url", TypeBoolean(), 0, [](const C& v) { return v.Url(); },
              [](C& v, std::int64_t x) { v.SetUrl(x != 0); })
          .Build();
  return &info;
}

}  // namespace kelu
