// kinetta-render's texts: the usage, and the lines that carry a path, an option, a number or a
// time, each one text for the translation with %1, %2 ... where the values go.
#include "cli/cli_messages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text_lookup.h"
#include "base/version.h"
#include "export/export_messages.h"

namespace kinetta::cli {

using base::Fill;
using base::Text;

std::string UsageText() {
  std::string text;
  for (const std::string_view part : kUsageParts) text += Text(part);
  return text;
}

std::string VersionText() {
  return std::string("kinetta-render (") + KINETTA_NAME + ") " + KINETTA_VERSION + "\n";
}

std::string UnknownOptionMessage(std::string_view option) {
  return Fill(Text("オプション '%1' はありません。"), {option});
}

std::string TakesNoValueMessage(std::string_view option) {
  return Fill(Text("オプション '%1' には値を付けられません。"), {option});
}

std::string NeedsValueMessage(std::string_view option) {
  return Fill(Text("オプション '%1' には値が要ります。"), {option});
}

std::string BadValueMessage(std::string_view option, std::string_view value,
                            std::string_view reason) {
  if (reason.empty()) return Fill(Text("オプション %1 の値 '%2' は使えません。"), {option, value});
  return Fill(Text("オプション %1 の値 '%2' は使えません。(%3)"), {option, value, reason});
}

std::string SameFrameFilesMessage(std::string_view a, std::string_view b, std::string_view first) {
  return Fill(Text("%1 と %2 は同じこまのファイル (%3, ...) を書き出します。"), {a, b, first});
}

std::string SameFrameFileMessage(std::string_view a, std::string_view b, std::string_view file) {
  return Fill(Text("%1 と %2 は同じこまのファイル %3 を書き出します。"), {a, b, file});
}

std::string FramesReplacePictureMessage(std::string_view source, std::string_view picture) {
  return Fill(Text("%1 のこまのファイルが画像 %2 を置き換えてしまいます。"), {source, picture});
}

std::string BothWriteMessage(std::string_view a, std::string_view b, std::string_view file,
                             std::string_view hint) {
  if (hint.empty()) return Fill(Text("%1 と %2 はどちらも %3 を書き出します。"), {a, b, file});
  return Fill(Text("%1 と %2 はどちらも %3 を書き出します。%4"), {a, b, file, hint});
}

std::string PlaceholderHint(std::string_view option, std::string_view extension) {
  return Fill(Text("画像ごとの名前にするには %s を入れてください (%1 '%s%2')。"),
              {option, extension});
}

std::string WroteFileMessage(std::string_view path) {
  return Fill(Text("%1 を書き出しました。"), {path});
}

std::string WroteFramesMessage(int frames) {
  // One frame has a sentence of its own, for the languages that count one apart from more.
  if (frames == 1) return Text("1 こまを書き出しました。");
  return Fill(Text("%1 こまを書き出しました。"), {std::to_string(frames)});
}

std::string WroteAnimationMessage(std::string_view path, int frames) {
  return Fill(Text("%1 を書き出しました。(%2 こま)"), {path, std::to_string(frames)});
}

std::string Mp4WithinLevelMessage(int width, int height) {
  return Fill(Text("MP4 は H.264 レベル 5.1 に収まるよう %1 x %2 に縮小しました。"),
              {std::to_string(width), std::to_string(height)});
}

std::string RunInterruptedMessage(int frames) {
  return Fill(Text("中断しました。(%1 こまを書き出し済み)"), {std::to_string(frames)});
}

std::string FileInterruptedMessage(std::string_view path) {
  return Fill(Text("%1: 中断しました。"), {path});
}

std::string ViewerFilesMissingMessage(std::string_view page, std::string_view failures) {
  return Fill(
      Text("%1 は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: %2"),
      {page, failures});
}

std::string SummaryMessage(int pictures, int done, const std::vector<FailedPicture>& failures,
                           bool interrupted) {
  constexpr std::size_t kNamed = 3;
  std::string line = Fill(Text("%1 枚のうち %2 枚を書き出しました。"),
                          {std::to_string(pictures), std::to_string(done)});
  if (!failures.empty()) {
    std::string named;
    for (std::size_t i = 0; i < failures.size() && i < kNamed; ++i) {
      if (i > 0) named += Text("、");
      named +=
          Fill(failures[i].unreadable ? Text("%1（開けません）") : Text("%1（書き出せません）"),
               {failures[i].source});
    }
    if (failures.size() > kNamed) {
      named = Fill(Text("%1 ほか %2 枚"), {named, std::to_string(failures.size() - kNamed)});
    }
    line = Fill(Text("%1失敗 %2 枚: %3"), {line, std::to_string(failures.size()), named});
  }
  return interrupted ? Fill(Text("中断しました。%1"), {line}) : line;
}

std::string NeedsFileMessage(std::string_view option) {
  return Fill(Text("オプション '%1' には対象とファイルが要ります。"), {option});
}

std::string StickerTargetNamesReason() {
  std::string names;
  for (const exporter::StickerTarget& t : exporter::kStickerTargets) {
    names += (names.empty() ? "" : ", ") + std::string(t.name);
  }
  return Fill(Text("%1 のどれか"), {names});
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
  return max > 0 ? Fill(Text("%1 以下"), {std::to_string(max)})
                 : Fill(Text("%1 以上"), {std::to_string(min)});
}

std::string Kilobytes(std::uint64_t bytes) {
  return bytes % exporter::kKiB == 0
             ? std::to_string(bytes / exporter::kKiB) + " KB"
             : Fixed(static_cast<double>(bytes) / exporter::kKiB, 1) + " KB";
}

// The columns a text takes on a terminal: two for each character outside ASCII (the Japanese
// ones are full width), one for the others.
std::size_t Columns(std::string_view text) {
  std::size_t columns = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      ++columns;
    } else if (byte >= 0xC0) {
      columns += 2;  // the first byte of a character outside ASCII
    }
  }
  return columns;
}

// A target's rules in short for the usage text, one after another from column 23 on, a line
// broken before a rule that would pass column 79.
std::string UsageRules(const exporter::StickerTarget& t) {
  constexpr std::size_t kIndent = 22, kWidth = 79;
  std::string rules;
  std::size_t column = kIndent;
  const auto add = [&](const std::string& rule) {
    if (column > kIndent) {
      rules += ",";
      ++column;
      if (column + 1 + Columns(rule) > kWidth) {
        rules += "\n" + std::string(kIndent, ' ');
        column = kIndent;
      } else {
        rules += " ";
        ++column;
      }
    }
    rules += rule;
    column += Columns(rule);
  };
  const std::string box = std::to_string(t.maxWidth) + "x" + std::to_string(t.maxHeight);
  const bool fixedSize = t.minWidth == t.maxWidth && t.minHeight == t.maxHeight;
  add(fixedSize ? box : Fill(Text("%1 以内"), {box}));
  if (t.minLongerSide > 0) add(Fill(Text("長い辺 %1 以上"), {std::to_string(t.minLongerSide)}));
  if (!t.codec.empty()) add(Upper(t.codec));
  if (t.maxFrames == 1) {
    add(Text("1 こま"));
  } else if (t.minFrames > 0 && t.maxFrames > 0) {
    add(Fill(Text("%1 こま"), {Range(t.minFrames, t.maxFrames)}));
  } else if (t.maxFrames > 0) {
    add(Fill(Text("最大 %1 こま"), {std::to_string(t.maxFrames)}));
  }
  if (t.maxPlays > 0) add(Fill(Text("再生 1-%1 回"), {std::to_string(t.maxPlays)}));
  if (t.maxMilliseconds > 0) {
    const std::string seconds =
        Fixed(t.maxMilliseconds / 1000.0, t.maxMilliseconds % 1000 == 0 ? 0 : 1);
    add(Fill(t.maxPlays > 0 ? Text("再生回数 x 長さ 最大 %1 秒") : Text("最大 %1 秒"), {seconds}));
  }
  if (t.maxFramesPerSecond > 0) {
    add(Fill(Text("最大 %1 こま/秒"), {std::to_string(t.maxFramesPerSecond)}));
  }
  if (t.maxBytes > 0) add(Fill(Text("最大 %1"), {Kilobytes(t.maxBytes)}));
  if (t.noAudio) add(Text("音声なし"));
  if (t.wantsTransparency) add(Text("背景が透明"));
  if (t.noGrey) add("RGB");
  return rules;
}

}  // namespace

std::string StickerTargetsUsage() {
  std::string text = "\n";
  text.append(Text("ステッカーの対象 (--sticker, --check-sticker TARGET):")).append("\n");
  for (const exporter::StickerTarget& t : exporter::kStickerTargets) {
    std::string name(t.name);
    name.resize(14, ' ');
    std::string kind(ContainerName(t.container));
    kind.resize(6, ' ');
    text += "  " + name + kind + UsageRules(t) + "\n";
  }
  return text;
}

std::string StickerTitle(exporter::StickerTargetId id) {
  return Text(exporter::StickerTargetTitle(id));
}

std::string StickerRuleName(StickerRule rule) { return Text(exporter::StickerRuleTitle(rule)); }

std::string StickerRequirementText(const exporter::StickerTarget& t, StickerRule rule) {
  switch (rule) {
    case StickerRule::Container:
      return std::string(ContainerName(t.container));
    case StickerRule::Codec:
      return Upper(t.codec);
    case StickerRule::Size: {
      const std::string box = std::to_string(t.maxWidth) + " x " + std::to_string(t.maxHeight);
      if (t.minWidth == t.maxWidth && t.minHeight == t.maxHeight) return box;
      if (t.minLongerSide == 0) return Fill(Text("%1 以内"), {box});
      return Fill(Text("%1 以内、長い辺 %2 以上"), {box, std::to_string(t.minLongerSide)});
    }
    case StickerRule::Frames:
      return Range(t.minFrames, t.maxFrames);
    case StickerRule::Plays:
      return Fill(Text("1-%1 回"), {std::to_string(t.maxPlays)});
    case StickerRule::Seconds: {
      const std::string seconds =
          Fixed(t.maxMilliseconds / 1000.0, t.maxMilliseconds % 1000 == 0 ? 0 : 1);
      return Fill(t.maxPlays > 0 ? Text("再生回数 x 1 回の長さが %1 秒以下") : Text("%1 秒以下"),
                  {seconds});
    }
    case StickerRule::FrameRate:
      return Fill(Text("%1 以下"), {std::to_string(t.maxFramesPerSecond)});
    case StickerRule::Bytes:
      return Fill(Text("%1 以下"), {Kilobytes(t.maxBytes)});
    case StickerRule::Audio:
      return Text("なし");
    case StickerRule::Transparency:
      return Text("あり");
    case StickerRule::Colour:
      return Text("RGB (グレー不可)");
  }
  return "";
}

namespace {

// "無限" for plays without end, else how many.
std::string PlaysText(int plays) {
  if (plays == 0) return Text("無限");
  // Once has a text of its own, for the languages that count one apart from more.
  return plays == 1 ? Text("1 回") : Fill(Text("%1 回"), {std::to_string(plays)});
}

}  // namespace

std::string StickerMeasuredText(const exporter::StickerMeasure& m, StickerRule rule) {
  const auto yesNo = [](bool yes) { return yes ? Text("あり") : Text("なし"); };
  switch (rule) {
    case StickerRule::Container:
      return std::string(ContainerName(m.container));
    case StickerRule::Codec:
      return m.codec.empty() ? Text("なし") : Upper(m.codec);
    case StickerRule::Size:
      return std::to_string(m.width) + " x " + std::to_string(m.height);
    case StickerRule::Frames:
      return std::to_string(m.frames);
    case StickerRule::Plays:
      return m.plays < 0 ? Text("指定なし") : PlaysText(m.plays);
    case StickerRule::Seconds:
      if (m.plays == 0) return Fill(Text("無限 (1 回 %1 秒)"), {Fixed(m.loopSeconds, 2)});
      if (m.plays < 0) return Fill(Text("%1 秒"), {Fixed(m.loopSeconds, 2)});
      return Fill(Text("%1 x %2 = %3 秒"), {std::to_string(m.plays), Fixed(m.loopSeconds, 2),
                                            Fixed(exporter::ShownSeconds(m), 2)});
    case StickerRule::FrameRate:
      return Fixed(exporter::FramesPerSecond(m), 2);
    case StickerRule::Bytes:
      return Fill(Text("%1 (%2 バイト)"), {Kilobytes(m.bytes), std::to_string(m.bytes)});
    case StickerRule::Audio:
      return yesNo(m.audio);
    case StickerRule::Transparency:
      return yesNo(m.transparency);
    case StickerRule::Colour:
      return m.grey ? Text("グレー") : "RGB";
  }
  return "";
}

std::string StickerCheckHeading(std::string_view file, const exporter::StickerTarget& target) {
  return std::string(file) + ": " + std::string(target.name) + " (" + StickerTitle(target.id) + ")";
}

std::string StickerRuleLine(const exporter::StickerTarget& target,
                            const exporter::StickerMeasure& m, const exporter::RuleOutcome& o) {
  const std::string_view verdict = o.verdict == exporter::RuleVerdict::Pass   ? kRulePassedText
                                   : o.verdict == exporter::RuleVerdict::Fail ? kRuleFailedText
                                                                              : kRuleWarnedText;
  return std::string("  ") +
         Fill(Text("%1  %2: %3（%4）"),
              {Text(verdict), StickerRuleName(o.rule), StickerMeasuredText(m, o.rule),
               StickerRequirementText(target, o.rule)});
}

std::string StickerCheckSummary(int failed) {
  if (failed == 0) return Text("すべての条件を満たしています。");
  if (failed == 1) return Text("1 件の条件を満たしていません。");
  return Fill(Text("%1 件の条件を満たしていません。"), {std::to_string(failed)});
}

std::string StickerOverColourMessage(const exporter::StickerTarget& target) {
  return Fill(Text("%1 は透明な背景が求められます。背景色の上の絵のまま書き出します。"),
              {target.name});
}

std::string StickerSizedFramesMessage(int width, int height) {
  return Fill(Text("書き出すのはスタンプだけなので、こまを %1 x %2 で描きました。"),
              {std::to_string(width), std::to_string(height)});
}

std::string StickerWroteMessage(std::string_view path, const exporter::StickerTarget& target,
                                const exporter::StickerFit& fit) {
  const exporter::StickerMeasure& m = fit.measure;
  const std::string psnr = std::isinf(fit.psnr) ? "∞" : Fixed(fit.psnr, 2);
  const std::string colours = fit.colours > 0
                                  ? Fill(Text("パレット %1 色"), {std::to_string(fit.colours)})
                                  : Fill(Text("色 %1 ビット"), {std::to_string(fit.colourBits)});
  const std::string size = StickerMeasuredText(m, StickerRule::Size);
  const std::string frames = std::to_string(m.frames);
  if (m.plays < 0 && fit.kilobitsPerSecond > 0) {
    // A video has no count of plays, and its quality is a bitrate rather than colours.
    return Fill(Text("%1 を書き出しました。(%2: %3、%4 こま、1 回 %5 秒、%6、映像 %7 kbit/s、"
                     "PSNR %8 dB)"),
                {path, target.name, size, frames, Fixed(m.loopSeconds, 2), Kilobytes(m.bytes),
                 std::to_string(fit.kilobitsPerSecond), psnr});
  }
  if (m.plays < 0) {  // a still PNG has no plays and no time
    return Fill(Text("%1 を書き出しました。(%2: %3、%4 こま、%5、%6、PSNR %7 dB)"),
                {path, target.name, size, frames, Kilobytes(m.bytes), colours, psnr});
  }
  return Fill(Text("%1 を書き出しました。(%2: %3、%4 こま、繰り返し %5、1 回 %6 秒、%7、%8、"
                   "PSNR %9 dB)"),
              {path, target.name, size, frames, PlaysText(m.plays), Fixed(m.loopSeconds, 2),
               Kilobytes(m.bytes), colours, psnr});
}

std::string PictureProgressText(int index, int pictures) {
  return Fill(Text("%1/%2 枚"), {std::to_string(index + 1), std::to_string(pictures)}) + "  ";
}

std::string FrameProgressText(int done, int total) {
  return Fill(Text("%1/%2 こま"), {std::to_string(done), std::to_string(total)});
}

std::string TimeLeftText(double seconds) {
  return std::string("  ").append(Fill(Text("残り %1"), {DurationText(seconds)}));
}

std::string FileReadProgressText(std::string_view format, int done) {
  return Fill(Text("%1: %2 こま読み込み"), {format, std::to_string(done)});
}

std::string FileProgressText(std::string_view format, int done, int total) {
  return std::string(format) + ": " + FrameProgressText(done, total);
}

std::string DurationText(double seconds) {
  const long long s = std::llround(std::max(seconds, 0.0));
  const auto twoDigits = [](long long n) {
    char text[24];
    std::snprintf(text, sizeof text, "%02lld", n);
    return std::string(text);
  };
  if (s < 60) return Fill(Text("%1 秒"), {std::to_string(s)});
  if (s < 3600) return Fill(Text("%1 分 %2 秒"), {std::to_string(s / 60), twoDigits(s % 60)});
  return Fill(Text("%1 時間 %2 分"), {std::to_string(s / 3600), twoDigits(s % 3600 / 60)});
}

}  // namespace kinetta::cli
