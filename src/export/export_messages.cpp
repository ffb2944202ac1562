// The page's and the animation files' messages that carry a path, a size or a library's words.
#include "export/export_messages.h"

#include "base/messages.h"
#include "base/text_lookup.h"

namespace kinetta::exporter {

using base::Fill;
using base::Text;

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::string AnimationFailedMessage(std::string_view target, std::string_view reason) {
  return Text(base::kAnimationFailedMessage) + "\n" + std::string(target) + "\n" +
         std::string(reason);
}

std::string TargetIsSourceMessage(std::string_view target) {
  return Fill(Text("%1 は原画です。アニメーションファイルには別の名前を選んでください。"),
              {target});
}

std::string TargetIsFrameMessage(std::string_view target) {
  return Fill(Text("%1 はこまのファイルです。アニメーションファイルには別の名前を選んでください。"),
              {target});
}

std::string FrameOverFormatMessage(int width, int height, int maxSide) {
  return Fill(Text("こまの大きさ %1 は、この形式の上限 %2 ピクセルを超えています。"),
              {SizeText(width, height), std::to_string(maxSide)});
}

std::string FrameSizeDiffersMessage(std::string_view number, int width, int height, int firstWidth,
                                    int firstHeight) {
  return Fill(Text("こま %1 の大きさ %2 が、こま 00 の %3 と違います。変換をやり直してください。"),
              {number, SizeText(width, height), SizeText(firstWidth, firstHeight)});
}

std::string FrameNotRereadMessage(std::string_view number) {
  return Fill(Text("こま %1 を読み直せませんでした。"), {number});
}

std::string EncoderMessage(std::string_view label, std::string_view text) {
  return std::string(label) + ": " + Text(text);
}

std::string LibraryMessage(std::string_view label, const char* libraryText) {
  return EncoderMessage(label,
                        libraryText != nullptr && *libraryText != '\0' ? libraryText : "error");
}

std::string LibraryFailureMessage(std::string_view label, std::string_view doing,
                                  std::string_view libraryText) {
  return std::string(label) + ": " + Text(doing) + " (" + std::string(libraryText) + ")";
}

std::string ContainerUnwritableText(std::string_view container) {
  return Fill(Text("%1 を書けません"), {container});
}

std::string NoEncoderText(std::string_view codec) {
  return Fill(Text("FFmpeg に %1 がありません。"), {codec});
}

std::string VideoModuleMessage(std::string_view file, std::string_view why) {
  return Fill(Text("MP4、APNG と WebM を書く部品 %1 が読み込めません。\n（%2）"), {file, why});
}

std::string OtherBuildReason(std::string_view version) {
  return Fill(Text("このプログラム %1 の部品ではありません"), {version});
}

std::string PageFailedMessage(std::string_view page, std::string_view reason) {
  return Text(base::kPageFailedMessage) + "\n" + std::string(page) + "\n" + std::string(reason);
}

std::string AddViewerFailure(std::string list, std::string_view name, std::string_view reason) {
  if (!list.empty()) list += Text("、");
  return list + std::string(name) + " (" + std::string(reason) + ")";
}

}  // namespace kinetta::exporter
