// How long lines are folded into screen rows.
#pragma once

#include <string>

#include "base/Notify.h"

namespace kelu {

class TEditorWrapOption : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorWrapOption)

  static constexpr const char* kDefaultFollowStr =
      "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4a\x81\x4b\x81\x52\x81\x53"
      "\x81\x54\x81\x55\x81\x58\x81\x5b\x81\x6a\x81\x6e\x81\x70\x81\x76\x81\x78"
      "!),.:;?]}\xa1\xa3\xa4\xa5\xb0\xde\xdf";
  static constexpr const char* kDefaultLeadStr = "\x81\x69\x81\x6d\x81\x6f\x81\x75\x81\x77([{\xa2";
  static constexpr const char* kDefaultPunctuationStr =
      "\x81\x41\x81\x42\x81\x43\x81\x44,.\xa1\xa4";

  bool FollowRetMark() const { return followRetMark_; }
  void SetFollowRetMark(bool value);
  bool FollowPunctuation() const { return followPunctuation_; }
  void SetFollowPunctuation(bool value);
  const std::string& FollowStr() const { return followStr_; }
  void SetFollowStr(const std::string& value);
  bool Leading() const { return leading_; }
  void SetLeading(bool value);
  const std::string& LeadStr() const { return leadStr_; }
  void SetLeadStr(const std::string& value);
  const std::string& PunctuationStr() const { return punctuationStr_; }
  void SetPunctuationStr(const std::string& value);
  bool WordBreak() const { return wordBreak_; }
  void SetWordBreak(bool value);
  int WrapByte() const { return wrapByte_; }
  // Clamped to 20..250.
  void SetWrapByte(int value);

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;
  // Whether every option equals the other's (rows wrap alike).
  bool Equals(const TEditorWrapOption& other) const;

 private:
  bool followRetMark_ = false;
  bool followPunctuation_ = false;
  std::string followStr_ = kDefaultFollowStr;
  bool leading_ = false;
  std::string leadStr_ = kDefaultLeadStr;
  std::string punctuationStr_ = kDefaultPunctuationStr;
  bool wordBreak_ = false;
  int wrapByte_ = 80;
};

}  // namespace kelu
