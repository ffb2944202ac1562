// The sticker targets' texts for the windows, in the user's language: each target's rules in
// one line, a fitted file's measure, the rules a file failed. Kept out of the video module,
// which shares the rest of the catalogue but has no lookup of its own.
#include <cmath>
#include <cstdio>

#include "base/text_lookup.h"
#include "export/export_messages.h"

namespace kinetta::exporter {

namespace {

std::string Decimal(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string KilobytesText(std::uint64_t bytes) {
  return bytes % kKiB == 0 ? std::to_string(bytes / kKiB)
                           : Decimal(static_cast<double>(bytes) / kKiB, 1);
}

}  // namespace

std::string StickerRulesLine(const StickerTarget& t) {
  using base::Fill;
  using base::Text;
  std::string line(t.container == StickerContainer::WebM  ? "WebM"
                   : t.container == StickerContainer::Gif ? "GIF"
                   : t.container == StickerContainer::Png ? "PNG"
                                                          : "APNG");
  if (!t.codec.empty()) line += " (VP9)";
  const auto add = [&line](const std::string& rule) { line += Text("、") + rule; };
  const std::string w = std::to_string(t.maxWidth), h = std::to_string(t.maxHeight);
  if (t.minWidth == t.maxWidth && t.minHeight == t.maxHeight) {
    add(w + " x " + h);
  } else {
    add(Fill(Text("%1 x %2 以内"), {w, h}));
  }
  if (t.minLongerSide > 0) add(Fill(Text("長い辺 %1 以上"), {std::to_string(t.minLongerSide)}));
  const std::string minFrames = std::to_string(t.minFrames),
                    maxFrames = std::to_string(t.maxFrames);
  if (t.minFrames > 0 && t.maxFrames > 0) {
    add(t.minFrames == t.maxFrames ? Fill(Text("%1 こま"), {maxFrames})
                                   : Fill(Text("%1-%2 こま"), {minFrames, maxFrames}));
  } else if (t.maxFrames > 0) {
    add(Fill(Text("%1 こま以下"), {maxFrames}));
  }
  const std::string seconds =
      Decimal(t.maxMilliseconds / 1000.0, t.maxMilliseconds % 1000 == 0 ? 0 : 1);
  if (t.maxPlays > 0) {
    add(Fill(Text("1-%1 回再生"), {std::to_string(t.maxPlays)}));
    if (t.maxMilliseconds > 0) add(Fill(Text("再生回数 x 1 回の長さが %1 秒以下"), {seconds}));
  } else if (t.maxMilliseconds > 0) {
    add(Fill(Text("%1 秒以下"), {seconds}));
  }
  if (t.maxFramesPerSecond > 0) {
    add(Fill(Text("%1 こま/秒以下"), {std::to_string(t.maxFramesPerSecond)}));
  }
  if (t.maxBytes > 0) add(Fill(Text("%1 KB 以下"), {KilobytesText(t.maxBytes)}));
  if (t.noAudio) add(Text("音声なし"));
  if (t.wantsTransparency) add(Text("透明な背景"));
  if (t.noGrey) add("RGB");
  return line;
}

std::string StickerResultText(const StickerMeasure& m, double psnr) {
  using base::Fill;
  using base::Text;
  const std::string size = std::to_string(m.width) + " x " + std::to_string(m.height);
  const std::string frames = std::to_string(m.frames), seconds = Decimal(m.loopSeconds, 2);
  const std::string bytes = KilobytesText(m.bytes);
  const std::string db = std::isinf(psnr) ? "∞" : Decimal(psnr, 1);
  if (m.plays < 0) {
    return Fill(Text("%1、%2 こま、%3 秒、%4 KB、PSNR %5 dB"), {size, frames, seconds, bytes, db});
  }
  const std::string plays = m.plays == 0 ? Text("無限") : std::to_string(m.plays);
  return Fill(Text("%1、%2 こま、%3 回再生、1 回 %4 秒、%5 KB、PSNR %6 dB"),
              {size, frames, plays, seconds, bytes, db});
}

std::string FailedStickerRules(const std::vector<RuleOutcome>& outcomes) {
  std::string names;
  for (const RuleOutcome& o : outcomes) {
    if (o.verdict != RuleVerdict::Fail) continue;
    if (!names.empty()) names += base::Text("、");
    names += base::Text(StickerRuleTitle(o.rule));
  }
  return names;
}

}  // namespace kinetta::exporter
