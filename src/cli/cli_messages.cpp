// kinetta-render's lines that carry a path, an option, a number or a time.
#include "cli/cli_messages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/messages.h"
#include "base/version.h"

namespace kinetta::cli {

std::string VersionText() {
  return std::string("kinetta-render (") + KINETTA_NAME + ") " + KINETTA_VERSION + "\n";
}

std::string UnknownOptionMessage(std::string_view option) {
  return "オプション '" + std::string(option) + "' はありません。";
}

std::string TakesNoValueMessage(std::string_view option) {
  return "オプション '" + std::string(option) + "' には値を付けられません。";
}

std::string NeedsValueMessage(std::string_view option) {
  return "オプション '" + std::string(option) + "' には値が要ります。";
}

std::string BadValueMessage(std::string_view option, std::string_view value,
                            std::string_view reason) {
  std::string message =
      "オプション " + std::string(option) + " の値 '" + std::string(value) + "' は使えません。";
  if (!reason.empty()) message.append("(").append(reason).append(")");
  return message;
}

std::string SameFrameFilesMessage(std::string_view a, std::string_view b, std::string_view first) {
  return std::string(a) + " と " + std::string(b) + " は同じこまのファイル (" + std::string(first) +
         ", ...) を書き出します。";
}

std::string SameFrameFileMessage(std::string_view a, std::string_view b, std::string_view file) {
  return std::string(a) + " と " + std::string(b) + " は同じこまのファイル " + std::string(file) +
         " を書き出します。";
}

std::string FramesReplacePictureMessage(std::string_view source, std::string_view picture) {
  return std::string(source) + " のこまのファイルが画像 " + std::string(picture) +
         " を置き換えてしまいます。";
}

std::string BothWriteMessage(std::string_view a, std::string_view b, std::string_view file,
                             std::string_view hint) {
  return std::string(a) + " と " + std::string(b) + " はどちらも " + std::string(file) +
         " を書き出します。" + std::string(hint);
}

std::string PlaceholderHint(std::string_view option, std::string_view extension) {
  return "画像ごとの名前にするには %s を入れてください (" + std::string(option) + " '%s" +
         std::string(extension) + "')。";
}

std::string WroteFileMessage(std::string_view path) {
  return std::string(path) + " を書き出しました。";
}

std::string WroteFramesMessage(int frames) {
  return std::to_string(frames) + " こまを書き出しました。";
}

std::string WroteAnimationMessage(std::string_view path, int frames) {
  return WroteFileMessage(path) + "(" + std::to_string(frames) + " こま)";
}

std::string RunInterruptedMessage(int frames) {
  return std::string(base::kAbortedMessage) + "(" + std::to_string(frames) + " こまを書き出し済み)";
}

std::string FileInterruptedMessage(std::string_view path) {
  return std::string(path) + ": " + std::string(base::kAbortedMessage);
}

std::string ViewerFilesMissingMessage(std::string_view page, std::string_view failures) {
  return std::string(page) +
         " は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: " +
         std::string(failures);
}

std::string SummaryMessage(int pictures, int done, const std::vector<FailedPicture>& failures,
                           bool interrupted) {
  constexpr std::size_t kNamed = 3;
  std::string line = interrupted ? std::string(base::kAbortedMessage) : "";
  line += std::to_string(pictures) + " 枚のうち " + std::to_string(done) + " 枚を書き出しました。";
  if (failures.empty()) return line;
  line += "失敗 " + std::to_string(failures.size()) + " 枚: ";
  for (std::size_t i = 0; i < failures.size() && i < kNamed; ++i) {
    if (i > 0) line += "、";
    line += failures[i].source + (failures[i].unreadable ? "（開けません）" : "（書き出せません）");
  }
  if (failures.size() > kNamed) line += " ほか " + std::to_string(failures.size() - kNamed) + " 枚";
  return line;
}

std::string NeedsFileMessage(std::string_view option) {
  return "オプション '" + std::string(option) + "' には対象とファイルが要ります。";
}

std::string StickerTargetNamesReason() {
  std::string names;
  for (const exporter::StickerTarget& t : exporter::kStickerTargets) {
    names += (names.empty() ? "" : ", ") + std::string(t.name);
  }
  return names + " のどれか";
}

namespace {

using exporter::StickerContainer;
using exporter::StickerRule;

std::string_view ContainerName(StickerContainer c) {
  switch (c) {
    case StickerContainer::Png:
      return "PNG";
    case StickerContainer::Apng:
      return "APNG";
    case StickerContainer::Gif:
      return "GIF";
    case StickerContainer::WebM:
      return "WebM";
    case StickerContainer::Unknown:
      break;
  }
  return "?";
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// "5-20", "50 以下", "5 以上", "1".
std::string Range(int min, int max) {
  if (min == max) return std::to_string(min);
  if (min > 0 && max > 0) return std::to_string(min) + "-" + std::to_string(max);
  return max > 0 ? std::to_string(max) + " 以下" : std::to_string(min) + " 以上";
}

std::string Kilobytes(std::uint64_t bytes) {
  return bytes % exporter::kKiB == 0
             ? std::to_string(bytes / exporter::kKiB) + " KB"
             : Fixed(static_cast<double>(bytes) / exporter::kKiB, 1) + " KB";
}

// The same words in English for the usage text, one after another from column 23 on, a line
// broken before a rule that would pass column 79.
std::string EnglishRules(const exporter::StickerTarget& t) {
  constexpr std::size_t kIndent = 22, kWidth = 79;
  std::string rules;
  std::size_t column = kIndent;
  const auto add = [&](const std::string& rule) {
    if (column > kIndent) {
      rules += ",";
      ++column;
      if (column + 1 + rule.size() > kWidth) {
        rules += "\n" + std::string(kIndent, ' ');
        column = kIndent;
      } else {
        rules += " ";
        ++column;
      }
    }
    rules += rule;
    column += rule.size();
  };
  if (t.minWidth == t.maxWidth && t.minHeight == t.maxHeight) {
    add(std::to_string(t.maxWidth) + "x" + std::to_string(t.maxHeight));
  } else {
    add("within " + std::to_string(t.maxWidth) + "x" + std::to_string(t.maxHeight));
  }
  if (t.minLongerSide > 0) add("longer side " + std::to_string(t.minLongerSide));
  if (!t.codec.empty()) add(Upper(t.codec));
  if (t.minFrames > 0 || t.maxFrames > 0) {
    const std::string range = Range(t.minFrames, t.maxFrames);
    add((t.minFrames > 0 && t.maxFrames > 0 ? range : "max " + std::to_string(t.maxFrames)) +
        (t.maxFrames == 1 ? " frame" : " frames"));
  }
  if (t.maxPlays > 0) add("1-" + std::to_string(t.maxPlays) + " plays");
  if (t.maxMilliseconds > 0) {
    add(std::string(t.maxPlays > 0 ? "plays x length " : "") + "max " +
        Fixed(t.maxMilliseconds / 1000.0, t.maxMilliseconds % 1000 == 0 ? 0 : 1) + " s");
  }
  if (t.maxFramesPerSecond > 0) add("max " + std::to_string(t.maxFramesPerSecond) + " fps");
  if (t.maxBytes > 0) add("max " + Kilobytes(t.maxBytes));
  if (t.noAudio) add("no audio");
  if (t.wantsTransparency) add("transparent background");
  if (t.noGrey) add("RGB");
  return rules;
}

}  // namespace

std::string StickerTargetsUsage() {
  std::string text = "\nSticker targets (--sticker, --check-sticker TARGET):\n";
  for (const exporter::StickerTarget& t : exporter::kStickerTargets) {
    std::string name(t.name);
    name.resize(14, ' ');
    std::string kind(ContainerName(t.container));
    kind.resize(6, ' ');
    text += "  " + name + kind + EnglishRules(t) + "\n";
  }
  return text;
}

std::string_view StickerTitle(exporter::StickerTargetId id) {
  switch (id) {
    case exporter::StickerTargetId::Line:
      return "LINE アニメーションスタンプ";
    case exporter::StickerTargetId::LineMain:
      return "LINE アニメーションスタンプのメイン画像";
    case exporter::StickerTargetId::LineTab:
      return "LINE トークルームタブ画像";
    case exporter::StickerTargetId::Telegram:
      return "Telegram ビデオステッカー";
    case exporter::StickerTargetId::Discord:
      return "Discord スタンプ";
    case exporter::StickerTargetId::DiscordEmoji:
      return "Discord 絵文字";
    case exporter::StickerTargetId::Slack:
      return "Slack 絵文字";
  }
  return "";
}

std::string_view StickerRuleName(StickerRule rule) {
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

std::string StickerRequirementText(const exporter::StickerTarget& t, StickerRule rule) {
  switch (rule) {
    case StickerRule::Container:
      return std::string(ContainerName(t.container));
    case StickerRule::Codec:
      return Upper(t.codec);
    case StickerRule::Size: {
      const std::string box = std::to_string(t.maxWidth) + " x " + std::to_string(t.maxHeight);
      if (t.minWidth == t.maxWidth && t.minHeight == t.maxHeight) return box;
      std::string text = box + " 以内";
      if (t.minLongerSide > 0) text += "、長い辺 " + std::to_string(t.minLongerSide) + " 以上";
      return text;
    }
    case StickerRule::Frames:
      return Range(t.minFrames, t.maxFrames);
    case StickerRule::Plays:
      return "1-" + std::to_string(t.maxPlays) + " 回";
    case StickerRule::Seconds:
      return std::string(t.maxPlays > 0 ? "再生回数 x 1 回の長さが " : "") +
             Fixed(t.maxMilliseconds / 1000.0, t.maxMilliseconds % 1000 == 0 ? 0 : 1) + " 秒以下";
    case StickerRule::FrameRate:
      return std::to_string(t.maxFramesPerSecond) + " 以下";
    case StickerRule::Bytes:
      return Kilobytes(t.maxBytes) + " 以下";
    case StickerRule::Audio:
      return "なし";
    case StickerRule::Transparency:
      return "あり";
    case StickerRule::Colour:
      return "RGB (グレー不可)";
  }
  return "";
}

std::string StickerMeasuredText(const exporter::StickerMeasure& m, StickerRule rule) {
  const auto plays = [&m] {
    return m.plays == 0 ? std::string("無限") : std::to_string(m.plays) + " 回";
  };
  switch (rule) {
    case StickerRule::Container:
      return std::string(ContainerName(m.container));
    case StickerRule::Codec:
      return m.codec.empty() ? "なし" : Upper(m.codec);
    case StickerRule::Size:
      return std::to_string(m.width) + " x " + std::to_string(m.height);
    case StickerRule::Frames:
      return std::to_string(m.frames);
    case StickerRule::Plays:
      return m.plays < 0 ? "指定なし" : plays();
    case StickerRule::Seconds:
      if (m.plays == 0) return "無限 (1 回 " + Fixed(m.loopSeconds, 2) + " 秒)";
      if (m.plays < 0) return Fixed(m.loopSeconds, 2) + " 秒";
      return std::to_string(m.plays) + " x " + Fixed(m.loopSeconds, 2) + " = " +
             Fixed(exporter::ShownSeconds(m), 2) + " 秒";
    case StickerRule::FrameRate:
      return Fixed(exporter::FramesPerSecond(m), 2);
    case StickerRule::Bytes:
      return Kilobytes(m.bytes) + " (" + std::to_string(m.bytes) + " バイト)";
    case StickerRule::Audio:
      return m.audio ? "あり" : "なし";
    case StickerRule::Transparency:
      return m.transparency ? "あり" : "なし";
    case StickerRule::Colour:
      return m.grey ? "グレー" : "RGB";
  }
  return "";
}

std::string StickerCheckHeading(std::string_view file, const exporter::StickerTarget& target) {
  return std::string(file) + ": " + std::string(target.name) + " (" +
         std::string(StickerTitle(target.id)) + ")";
}

std::string StickerRuleLine(const exporter::StickerTarget& target,
                            const exporter::StickerMeasure& m, const exporter::RuleOutcome& o) {
  const std::string_view verdict = o.verdict == exporter::RuleVerdict::Pass   ? kRulePassedText
                                   : o.verdict == exporter::RuleVerdict::Fail ? kRuleFailedText
                                                                              : kRuleWarnedText;
  return "  " + std::string(verdict) + "  " + std::string(StickerRuleName(o.rule)) + ": " +
         StickerMeasuredText(m, o.rule) + "（" + StickerRequirementText(target, o.rule) + "）";
}

std::string StickerCheckSummary(int failed) {
  if (failed == 0) return "すべての条件を満たしています。";
  return std::to_string(failed) + " 件の条件を満たしていません。";
}

std::string StickerOverColourMessage(const exporter::StickerTarget& target) {
  return std::string(target.name) +
         " は透明な背景が求められます。背景色の上の絵のまま書き出します。";
}

std::string StickerSizedFramesMessage(int width, int height) {
  return "書き出すのはスタンプだけなので、こまを " + std::to_string(width) + " x " +
         std::to_string(height) + " で描きました。";
}

std::string StickerWroteMessage(std::string_view path, const exporter::StickerTarget& target,
                                const exporter::StickerFit& fit) {
  const exporter::StickerMeasure& m = fit.measure;
  const std::string psnr = std::isinf(fit.psnr) ? "∞" : Fixed(fit.psnr, 2);
  // A still PNG has no plays and no time.
  const std::string timing =
      m.plays < 0
          ? std::string()
          : "、繰り返し " + (m.plays == 0 ? std::string("無限") : std::to_string(m.plays) + " 回") +
                "、1 回 " + Fixed(m.loopSeconds, 2) + " 秒";
  const std::string colours = fit.colours > 0 ? "パレット " + std::to_string(fit.colours) + " 色"
                                              : "色 " + std::to_string(fit.colourBits) + " ビット";
  return WroteFileMessage(path) + "(" + std::string(target.name) + ": " +
         StickerMeasuredText(m, StickerRule::Size) + "、" + std::to_string(m.frames) + " こま" +
         timing + "、" + Kilobytes(m.bytes) + "、" + colours + "、PSNR " + psnr + " dB)";
}

std::string PictureProgressText(int index, int pictures) {
  return std::to_string(index + 1) + "/" + std::to_string(pictures) + " 枚  ";
}

std::string FrameProgressText(int done, int total) {
  return std::to_string(done) + "/" + std::to_string(total) + " こま";
}

std::string TimeLeftText(double seconds) { return "  残り " + DurationText(seconds); }

std::string FileReadProgressText(std::string_view format, int done) {
  return std::string(format) + ": " + std::to_string(done) + " こま読み込み";
}

std::string FileProgressText(std::string_view format, int done, int total) {
  return std::string(format) + ": " + FrameProgressText(done, total);
}

std::string DurationText(double seconds) {
  const long long s = std::llround(std::max(seconds, 0.0));
  char text[48];
  if (s < 60) {
    std::snprintf(text, sizeof text, "%lld 秒", s);
  } else if (s < 3600) {
    std::snprintf(text, sizeof text, "%lld 分 %02lld 秒", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld 時間 %02lld 分", s / 3600, s % 3600 / 60);
  }
  return text;
}

}  // namespace kinetta::cli
