// What the page and the animation files tell the user, in one place. The encoders' messages open
// with the format's label ("GIF", "WebP", "MP4", "APNG"). Built into the video module too, which
// holds its own copy.
#pragma once

#include <string>
#include <string_view>

namespace kinetta::exporter {

// ---- The HTML page --------------------------------------------------------------------------

/// The folder's animate.htm plays another picture's frames: the question and its first two
/// buttons (the second follows the other page's name).
inline constexpr std::string_view kPageOfAnotherPicture =
    "このフォルダの animate.htm は別の画像のこまを表示します。置き換えますか？";
inline constexpr std::string_view kReplacePage = "置き換える";
inline constexpr std::string_view kWritePageAs = " に書く";

// ---- The animation file --------------------------------------------------------------------

/// The animation dialog's note when the background is transparent.
inline constexpr char kMp4OverBackgroundNote[] =
    "MP4 は透明を持てないため、背景色の上に重ねて書きます。";

/// A file that could not be made: base::kAnimationFailedMessage, the target and the reason, a
/// line each.
std::string AnimationFailedMessage(std::string_view target, std::string_view reason);

/// A target that is the source picture, or one of its frame files.
std::string TargetIsSourceMessage(std::string_view target);
std::string TargetIsFrameMessage(std::string_view target);

/// Frames larger than the format holds.
std::string FrameOverFormatMessage(int width, int height, int maxSide);

/// Frame `number` (as in its file name) of another size than frame 00.
std::string FrameSizeDiffersMessage(std::string_view number, int width, int height, int firstWidth,
                                    int firstHeight);

/// Frame `number` could not be read again for the file.
std::string FrameNotRereadMessage(std::string_view number);

// ---- The encoders --------------------------------------------------------------------------

inline constexpr std::string_view kColoursNotReducedText = "色の数を減らせませんでした。";
inline constexpr std::string_view kLibraryVersionText = "ライブラリの版が合いません。";
inline constexpr std::string_view kColourConversionText = "色を変換できません。";
/// A frame read again for the file with a colour it did not have the first time.
inline constexpr std::string_view kFrameChangedText = "こまが途中で変わりました。";

// What the video encoders were doing when the library failed.
inline constexpr std::string_view kEncoderStartText = "符号化を始められません";
inline constexpr std::string_view kFileStartText = "ファイルを始められません";
inline constexpr std::string_view kFrameEncodeText = "こまを符号化できません";
inline constexpr std::string_view kFileWriteText = "ファイルに書けません";
inline constexpr std::string_view kFileCloseText = "ファイルを閉じられません";

/// "GIF: " and `text`.
std::string EncoderMessage(std::string_view label, std::string_view text);

/// An encoder library's own words after the label, or "error" when it gave none.
std::string LibraryMessage(std::string_view label, const char* libraryText);

/// What the encoder was doing when the library failed, and the library's words in brackets.
std::string LibraryFailureMessage(std::string_view label, std::string_view doing,
                                  std::string_view libraryText);

/// The container format the library cannot write.
std::string ContainerUnwritableText(std::string_view container);

/// The encoder the library lacks.
std::string NoEncoderText(std::string_view codec);

// ---- The video module ----------------------------------------------------------------------

/// The module `file` could not be loaded, and why on a second line in brackets.
std::string VideoModuleMessage(std::string_view file, std::string_view why);
inline constexpr std::string_view kUnknownReason = "不明な理由";
/// A module built for another version of the program.
std::string OtherBuildReason(std::string_view version);

// ---- Checking a sticker file ---------------------------------------------------------------

// Why a file could not be measured, for the line under base::CannotOpenMessage.
inline constexpr std::string_view kNotStickerFileReason =
    "APNG、PNG、GIF、WebM のどれでもありません";
inline constexpr std::string_view kFileCutShortReason = "ファイルが途中で切れています";
inline constexpr std::string_view kChunkCrcReason = "PNG のチャンクの CRC が合いません";
inline constexpr std::string_view kPngHeaderReason = "PNG の IHDR チャンクが正しくありません";
inline constexpr std::string_view kApngFramesReason =
    "APNG の acTL のこま数と fcTL の数が合いません";
inline constexpr std::string_view kNoVideoStreamReason = "映像がありません";
inline constexpr std::string_view kWebmReadText = "ファイルを読めません";

// Why a sticker file could not be made, for the line under AnimationFailedMessage.
inline constexpr std::string_view kStickerNotYetText =
    "この対象のファイルはまだ作れません (作れるのは GIF、APNG、PNG の対象です)。";
inline constexpr std::string_view kStickerTooLargeText =
    "色とこまを減らしても対象のファイルの大きさに収まりません。";
inline constexpr std::string_view kStickerRulesText = "作ったファイルが対象の条件を満たしません。";

// ---- The page ------------------------------------------------------------------------------

/// A page that could not be written: base::kPageFailedMessage, the page's path and the reason, a
/// line each.
std::string PageFailedMessage(std::string_view page, std::string_view reason);

/// Why a viewer file could not be copied from the sample folder.
inline constexpr std::string_view kSampleMissingReason = "見本のファイルがありません";
inline constexpr std::string_view kSampleUnreadableReason = "見本のファイルを読めません";

/// The viewer files that could not be copied, each named with its reason ("vorrel.js (...)"):
/// `name` added to `list`.
std::string AddViewerFailure(std::string list, std::string_view name, std::string_view reason);

}  // namespace kinetta::exporter
