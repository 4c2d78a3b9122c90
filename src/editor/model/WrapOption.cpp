#include "editor/model/WrapOption.h"

#include <algorithm>

#include "base/Properties.h"

namespace kelu {

void TEditorWrapOption::SetFollowRetMark(bool v) {
  SetField(followRetMark_, v);
}
void TEditorWrapOption::SetFollowPunctuation(bool v) {
  SetField(followPunctuation_, v);
}
void TEditorWrapOption::SetFollowStr(const std::string& v) {
  SetField(followStr_, v);
}
void TEditorWrapOption::SetLeading(bool v) {
  SetField(leading_, v);
}
void TEditorWrapOption::SetLeadStr(const std::string& v) {
  SetField(leadStr_, v);
}
void TEditorWrapOption::SetPunctuationStr(const std::string& v) {
  SetField(punctuationStr_, v);
}
void TEditorWrapOption::SetWordBreak(bool v) {
  SetField(wordBreak_, v);
}
void TEditorWrapOption::SetWrapByte(int v) {
  SetField(wrapByte_, std::clamp(v, 20, 250));
}

void TEditorWrapOption::Assign(const TPersistent& source) {
  if (auto* o = dynamic_cast<const TEditorWrapOption*>(&source)) {
    followRetMark_ = o->followRetMark_;
    followPunctuation_ = o->followPunctuation_;
    followStr_ = o->followStr_;
    leading_ = o->leading_;
    leadStr_ = o->leadStr_;
    punctuationStr_ = o->punctuationStr_;
    wordBreak_ = o->wordBreak_;
    wrapByte_ = o->wrapByte_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

bool TEditorWrapOption::Equals(const TEditorWrapOption& o) const {
  return followRetMark_ == o.followRetMark_ && followPunctuation_ == o.followPunctuation_ &&
         followStr_ == o.followStr_ && leading_ == o.leading_ && leadStr_ == o.leadStr_ &&
         punctuationStr_ == o.punctuationStr_ && wordBreak_ == o.wordBreak_ &&
         wrapByte_ == o.wrapByte_;
}

const TClassInfo* TEditorWrapOption::ClassInfo() const {
  using W = TEditorWrapOption;
  static const TClassInfo info =
      TPropsOf<W>("TEditorWrapOption", nullptr)
          .Bool("FollowRetMark", false, &W::FollowRetMark, &W::SetFollowRetMark)
          .Bool("FollowPunctuation", false, &W::FollowPunctuation, &W::SetFollowPunctuation)
          .Str(
              "FollowStr", [](const W& w) { return w.FollowStr(); },
              [](W& w, const std::string& v) { w.SetFollowStr(v); })
          .Bool("Leading", false, &W::Leading, &W::SetLeading)
          .Str(
              "LeadStr", [](const W& w) { return w.LeadStr(); },
              [](W& w, const std::string& v) { w.SetLeadStr(v); })
          .Str(
              "PunctuationStr", [](const W& w) { return w.PunctuationStr(); },
              [](W& w, const std::string& v) { w.SetPunctuationStr(v); })
          .Bool("WordBreak", false, &W::WordBreak, &W::SetWordBreak)
          .Int("WrapByte", TypeInteger(), 80, &W::WrapByte, &W::SetWrapByte)
          .Build();
  return &info;
}

}  // namespace kelu
