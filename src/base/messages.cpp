// The messages that carry a path, a number or an error.
#include "base/messages.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "base/memory_budget.h"
#include "base/text_lookup.h"

namespace kinetta::base {

std::string CannotOpenMessage(std::string_view path) {
  return Fill(Text("%1が開けません。"), {path});
}

std::string CannotOpenMessage(std::string_view path, std::string_view reason) {
  return Fill(Text("%1が開けません。\n（%2）"), {path, reason});
}

std::string SystemErrorText(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return Text("アクセスする権限がありません");
    case ENOSPC:
    case EDQUOT:
      return Text("ディスクの空きが足りません");
    case EFBIG:
      return Text(kFileTooLargeReason);
    case EISDIR:
      return Text("フォルダです");
    case ENOTDIR:
      return Text("フォルダではありません");
    case EROFS:
      return Text("読み取り専用のファイルシステムです");
    case ENAMETOOLONG:
      return Text("名前が長すぎます");
    case ENOENT:
      return Text("ファイルまたはフォルダが見つかりません");
    default:
      return std::strerror(error);
  }
}

Status SystemFailure(int error) {
  return Status::Failed(CauseOfErrno(error), SystemErrorText(error));
}

std::string CannotWriteMessage(std::string_view path, std::string_view reason) {
  return Fill(Text("%1 に書き込めません。(%2)"), {path, reason});
}

Status CannotWrite(std::string_view path, const Status& why) {
  return Status::Failed(why.cause(), CannotWriteMessage(path, why.message()));
}

std::string StaleFrameKeptMessage(std::string_view fileName) {
  return Fill(Text("%1 はこまのファイルではなく、ごみ箱も使えないため、消さずに残しました。"),
              {fileName});
}

std::string NoShapeMessage(int shapeIndex) {
  return Fill(Text("形状の番号 %1 に当たる動きがありません。設定で形状を選び直してください。"),
              {std::to_string(shapeIndex)});
}

std::string FrameTooSmallMessage(int width, int height) {
  return Fill(Text("こまの大きさが %1 x %2 ピクセルになり、1 ピクセルに足りません。"
                   "横幅の設定を確かめてください。"),
              {std::to_string(width), std::to_string(height)});
}

std::string FrameFileTooLargeMessage(int width, int height) {
  return Fill(Text("こまの大きさ %1 x %2 ピクセルでは、こまの BMP ファイルが 4 GiB "
                   "を超えて書き出せません。横幅の設定を確かめてください。"),
              {std::to_string(width), std::to_string(height)});
}

std::string TooLargeMessage(int width, int height, std::uint64_t neededBytes,
                            std::uint64_t availableBytes) {
  return Fill(Text("こまの大きさ %1 x %2 ピクセルでは約 %3 MiB のメモリが要ります"
                   "（使えるのは約 %4 MiB）。"),
              {std::to_string(width), std::to_string(height),
               std::to_string(MebibytesUp(neededBytes)), std::to_string(availableBytes / 1048576)});
}

Status ErrorStatus(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  } catch (const std::exception& e) {
    const std::string_view what = e.what();
    return Status::Failed(
        Cause::Unexpected,
        Text(kUnexpectedErrorMessage) + (what.empty() ? "" : "(" + std::string(what) + ")"));
  } catch (...) {
  }
  return Status::Failed(Cause::Unexpected, Text(kUnexpectedErrorMessage));
}

Status OutOfMemory() { return Status::Failed(Cause::OutOfMemory, Text(kOutOfMemoryMessage)); }

}  // namespace kinetta::base
