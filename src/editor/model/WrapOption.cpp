#include "editor/model/WrapOption.h"

#include <algorithm>

#include "base/Properties.h"

namespace kelu {

void TEditorWrapOption::SetFollowRetMark(bool v) {
  Set(followRetMark_, v);
}
void TEditorWrapOption::SetFollowPunctuation(bool v) {
  Set(followPunctuation_, v);
}
void TEditorWrapOption::SetFollowStr(const std::string& v) {
  Set(followStr_, v);
}
void TEditorWrapOption::SetLeading(bool v) {
  Set(leading_, v);
}
void TEditorWrapOption::SetLeadStr(const std::string& v) {
  Set(leadStr_, v);
}
void TEditorWrapOption::SetPunctuationStr(const std::string& v) {
  Set(punctuationStr_, v);
}
void TEditorWrapOption::SetWordBreak(bool v) {
  Set(wordBreak_, v);
}
void TEditorWrapOption::SetWrapByte(int v) {
  Set(wrapByte_, std::clamp(v, 20, 250));
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

const TClassInfo* TEditorWrapOption::ClassInfo() const {
  using W = TEditorWrapOption;
  static const TClassInfo info =
      TPropsOf<W>("TEditorWrapOption", nullptr)
          .Ord(
              "FollowRetMark", TypeBoolean(), 0, [](const W& w) { return w.FollowRetMark(); },
              [](W& w, std::int64_t v) { w.SetFollowRetMark(v != 0); })
          .Ord(
              "FollowPunctuation", TypeBoolean(), 0,
              [](const W& w) { return w.FollowPunctuation(); },
              [](W& w, std::int64_t v) { w.SetFollowPunctuation(v != 0); })
          .Str(
              "FollowStr", [](const W& w) { return w.FollowStr(); },
              [](W& w, const std::string& v) { w.SetFollowStr(v); })
          .Ord(
              "Leading", TypeBoolean(), 0, [](const W& w) { return w.Leading(); },
              [](W& w, std::int64_t v) { w.SetLeading(v != 0); })
          .Str(
              "LeadStr", [](const W& w) { return w.LeadStr(); },
              [](W& w, const std::string& v) { w.SetLeadStr(v); })
          .Str(
              "PunctuationStr", [](const W& w) { return w.PunctuationStr(); },
              [](W& w, const std::string& v) { w.SetPunctuationStr(v); })
          .Ord(
              "WordBreak", TypeBoolean(), 0, [](const W& w) { return w.WordBreak(); },
              [](W& w, std::int64_t v) { w.SetWordBreak(v != 0); })
          .Ord(
              "WrapByte", TypeInteger(), 80, [](const W& w) { return w.WrapByte(); },
              [](W& w, std::int64_t v) { w.SetWrapByte(static_cast<int>(v)); })
          .Build();
  return &info;
}

}  // namespace kelu
