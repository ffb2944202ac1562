// The texts the engine and the command-line renderer put before the user, in one place, so that
// every layer says the same thing in the same words; and the failures made of them.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "base/outcome.h"

namespace kinetta::base {

inline constexpr std::string_view kNoSourceMessage = "原画を先に開いてください。";
/// A picture of a format the program does not open (a GIF without the marker file).
/// A run or an animation file stopped by the user: the status line, and the command line's note.
inline constexpr std::string_view kAbortedMessage = "中断しました。";
inline constexpr std::string_view kUnsupportedFormatMessage = "この画像形式には対応していません。";
inline constexpr std::string_view kNoFramesMessage = "変換の実行を先に行ってください。";
inline constexpr std::string_view kContinueQuestion = "実行を継続しますか？";

// The warnings before a long run.
inline constexpr std::string_view kWideFrameWarning = "幅が大きくて時間がかかります。";
inline constexpr std::string_view kLargeSourceWarning = "原図が大きくて時間がかかります。";
inline constexpr std::string_view kManyFramesWarning = "こま数が多くて時間がかかります。";

inline constexpr std::string_view kAnimationFailedMessage =
    "アニメーションファイルを作成できませんでした。";
// The seconds per frame of the page and the animation files.
inline constexpr std::string_view kNotANumberMessage =
    "ひとコマの表示秒数には数値を入力してください。";
inline constexpr std::string_view kTimeRangeMessage =
    "ひとコマの表示秒数は 0 から 32.767 までの秒数で入力してください。";

inline constexpr std::string_view kPageFailedMessage = "HTMLファイルを作成できませんでした。";

// A run or an animation file that broke off with an error instead of ending by itself.
inline constexpr std::string_view kOutOfMemoryMessage = "メモリが足りません。";
inline constexpr std::string_view kUnexpectedErrorMessage = "予期しないエラーが発生しました。";

// Why a file could not be read or written, in a few words for the brackets after the sentence
// that names it.
inline constexpr std::string_view kNotARegularFileReason = "通常のファイルではありません";
inline constexpr std::string_view kFileTooLargeReason = "ファイルが大きすぎます";
inline constexpr std::string_view kWriteBrokenOffReason = "書き込みが中断されました";

/// The failure for the error that broke off a run or a file: Cause::OutOfMemory with
/// kOutOfMemoryMessage when memory ran out, else Cause::Unexpected with kUnexpectedErrorMessage
/// and the error's own text in brackets.
Status ErrorStatus(const std::exception_ptr& error);

/// Memory ran out: Cause::OutOfMemory with kOutOfMemoryMessage.
Status OutOfMemory();

/// A picture that cannot be read: the path followed by "が開けません。".
std::string CannotOpenMessage(std::string_view path);

/// The same with the reason on a second line, in brackets.
std::string CannotOpenMessage(std::string_view path, std::string_view reason);

/// Why a file could not be read or written, from the system's error number: the common causes
/// (no permission, no space, a file too large, a folder, a read-only file system, a name too
/// long, not found) in Japanese, any other in the system's own words.
std::string SystemErrorText(int error);

/// The failure for a system error number: its cause (CauseOfErrno) and SystemErrorText.
Status SystemFailure(int error);

/// A file that cannot be written: the path, " に書き込めません。" and the reason in brackets.
std::string CannotWriteMessage(std::string_view path, std::string_view reason);

/// `why` told about the file `path`: its cause, and CannotWriteMessage with its message.
Status CannotWrite(std::string_view path, const Status& why);

/// The file after a run's last frame, left in place: it is no frame of an earlier run, and
/// there is no trash to put it in.
std::string StaleFrameKeptMessage(std::string_view fileName);

/// A shape number that names no motion.
std::string NoShapeMessage(int shapeIndex);

/// A frame whose BMP file would pass the format's 4 GiB.
std::string FrameFileTooLargeMessage(int width, int height);

/// A frame that would be smaller than one pixel.
std::string FrameTooSmallMessage(int width, int height);

/// A picture one row tall under a motion that splits it into a top and a bottom face.
inline constexpr std::string_view kPictureTooShortMessage =
    "原画の高さが 1 ピクセルしかなく、上下二つの面に分けられません。";

/// A run whose frames need more memory than there is: "こまの大きさ W x H ピクセルでは約 N MiB の
/// メモリが要ります（使えるのは約 M MiB）。"
std::string TooLargeMessage(int width, int height, std::uint64_t neededBytes,
                            std::uint64_t availableBytes);

}  // namespace kinetta::base
