// What the page and the animation files tell the user, in one place. The encoders' messages open
// with the format's label ("GIF", "WebP", "MP4", "APNG"). Built into the video module too, which
// holds its own copy and looks its texts up through the program's base::Text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/sticker_check.h"
#include "export/sticker_targets.h"

namespace kinetta::exporter {

// ---- The HTML page --------------------------------------------------------------------------

/// The folder's animate.htm plays another picture's frames: the question and its first two
/// buttons (the second follows the other page's name).
inline constexpr std::string_view kPageOfAnotherPicture =
    "このフォルダの animate.htm は別の画像のこまを表示します。置き換えますか？";
inline constexpr std::string_view kReplacePage = "置き換える(&R)";
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

/// "GIF: " and `text` in the user's language (a text of this catalogue is looked up; a library's
/// own words, and a text looked up already, stay as they are).
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

inline constexpr std::string_view kStickerTooLargeText =
    "色とこまを減らしても対象のファイルの大きさに収まりません。";
inline constexpr std::string_view kStickerRulesText = "作ったファイルが対象の条件を満たしません。";

/// The target's name as its platform calls it.
inline std::string_view StickerTargetTitle(StickerTargetId id) {
  switch (id) {
    case StickerTargetId::Line:
      return "LINE アニメーションスタンプ";
    case StickerTargetId::LineMain:
      return "LINE アニメーションスタンプのメイン画像";
    case StickerTargetId::LineTab:
      return "LINE トークルームタブ画像";
    case StickerTargetId::Telegram:
      return "Telegram ビデオステッカー";
    case StickerTargetId::Discord:
      return "Discord スタンプ";
    case StickerTargetId::DiscordEmoji:
      return "Discord 絵文字";
    case StickerTargetId::Slack:
      return "Slack 絵文字";
  }
  return "";
}

/// A rule's name: "形式", "大きさ", "こま数", ...
inline std::string_view StickerRuleTitle(StickerRule rule) {
  switch (rule) {
    case StickerRule::Container:
      return "形式";
    case StickerRule::Codec:
      return "コーデック";
    case StickerRule::Size:
      return "大きさ";
    case StickerRule::Frames:
      return "こま数";
    case StickerRule::Plays:
      return "再生回数";
    case StickerRule::Seconds:
      return "再生時間";
    case StickerRule::FrameRate:
      return "こま/秒";
    case StickerRule::Bytes:
      return "ファイルの大きさ";
    case StickerRule::Audio:
      return "音声";
    case StickerRule::Transparency:
      return "透明な背景";
    case StickerRule::Colour:
      return "色";
  }
  return "";
}

/// The target's rules in one line, in the user's language: "APNG、320 x 270 以内、長い辺 270
/// 以上、5-20 こま、..."
std::string StickerRulesLine(const StickerTarget& target);

/// What a fitted file was measured to be, in the user's language: its size, frames, plays
/// (where it has a count), one loop's seconds, bytes and PSNR.
std::string StickerResultText(const StickerMeasure& m, double psnr);

/// The rules `outcomes` failed, by name: "ファイルの大きさ、こま数".
std::string FailedStickerRules(const std::vector<RuleOutcome>& outcomes);

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
