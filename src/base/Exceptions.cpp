#include "base/Exceptions.h"

#include <cerrno>
#include <cstring>

namespace kelu {

void ThrowListIndexError(int /*index*/) {
  throw EListError(kListIndexError);
}

std::string SystemErrorText(int errnum) {
  switch (errnum) {
    case ENOENT:
      return "ファイルまたはフォルダが存在しません";
    case EACCES:
    case EPERM:
      return "アクセスが拒否されました";
    case ENOSPC:
      return "ディスクの空き容量が不足しています";
    case EDQUOT:
      return "ディスク使用量の上限を超えました";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case EISDIR:
      return "フォルダです";
    case ENOTDIR:
      return "パスの途中がフォルダではありません";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます";
    case EIO:
      return "入出力エラーが発生しました";
    case ENOMEM:
      return "メモリを確保出来ませんでした";
    default:
      return std::strerror(errnum);
  }
}

}  // namespace kelu
