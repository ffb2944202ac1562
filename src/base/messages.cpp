// The messages that carry a path, a number or an error.
#include "base/messages.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "base/memory_budget.h"

namespace kinetta::base {

std::string CannotOpenMessage(std::string_view path) {
  return std::string(path) + "が開けません。";
}

std::string CannotOpenMessage(std::string_view path, std::string_view reason) {
  return CannotOpenMessage(path) + "\n（" + std::string(reason) + "）";
}

std::string SystemErrorText(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "アクセスする権限がありません";
    case ENOSPC:
    case EDQUOT:
      return "ディスクの空きが足りません";
    case EFBIG:
      return std::string(kFileTooLargeReason);
    case EISDIR:
      return "フォルダです";
    case ENOTDIR:
      return "フォルダではありません";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    case ENOENT:
      return "ファイルまたはフォルダが見つかりません";
    default:
      return std::strerror(error);
  }
}

Status SystemFailure(int error) {
  return Status::Failed(CauseOfErrno(error), SystemErrorText(error));
}

std::string CannotWriteMessage(std::string_view path, std::string_view reason) {
  return std::string(path) + " に書き込めません。(" + std::string(reason) + ")";
}

Status CannotWrite(std::string_view path, const Status& why) {
  return Status::Failed(why.cause(), CannotWriteMessage(path, why.message()));
}

std::string StaleFrameKeptMessage(std::string_view fileName) {
  return std::string(fileName) +
         " はこまのファイルではなく、ごみ箱も使えないため、消さずに残しました。";
}

std::string NoShapeMessage(int shapeIndex) {
  return "形状の番号 " + std::to_string(shapeIndex) +
         " に当たる動きがありません。設定で形状を選び直してください。";
}

std::string FrameTooSmallMessage(int width, int height) {
  return "こまの大きさが " + std::to_string(width) + " x " + std::to_string(height) +
         " ピクセルになり、1 ピクセルに足りません。横幅の設定を確かめてください。";
}

std::string FrameFileTooLargeMessage(int width, int height) {
  return "こまの大きさ " + std::to_string(width) + " x " + std::to_string(height) +
         " ピクセルでは、こまの BMP ファイルが 4 GiB "
         "を超えて書き出せません。横幅の設定を確かめてください。";
}

std::string TooLargeMessage(int width, int height, std::uint64_t neededBytes,
                            std::uint64_t availableBytes) {
  return "こまの大きさ " + std::to_string(width) + " x " + std::to_string(height) +
         " ピクセルでは約 " + std::to_string(MebibytesUp(neededBytes)) +
         " MiB のメモリが要ります（使えるのは約 " + std::to_string(availableBytes / 1048576) +
         " MiB）。";
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
        std::string(kUnexpectedErrorMessage) + (what.empty() ? "" : "(" + std::string(what) + ")"));
  } catch (...) {
  }
  return Status::Failed(Cause::Unexpected, kUnexpectedErrorMessage);
}

Status OutOfMemory() { return Status::Failed(Cause::OutOfMemory, kOutOfMemoryMessage); }

}  // namespace kinetta::base
