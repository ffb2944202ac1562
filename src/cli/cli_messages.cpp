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
