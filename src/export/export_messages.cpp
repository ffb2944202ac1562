// The page's and the animation files' messages that carry a path, a size or a library's words.
#include "export/export_messages.h"

#include "base/messages.h"

namespace kinetta::exporter {

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::string AnimationFailedMessage(std::string_view target, std::string_view reason) {
  return std::string(base::kAnimationFailedMessage) + "\n" + std::string(target) + "\n" +
         std::string(reason);
}

std::string TargetIsSourceMessage(std::string_view target) {
  return std::string(target) + " は原画です。アニメーションファイルには別の名前を選んでください。";
}

std::string TargetIsFrameMessage(std::string_view target) {
  return std::string(target) +
         " はこまのファイルです。アニメーションファイルには別の名前を選んでください。";
}

std::string FrameOverFormatMessage(int width, int height, int maxSide) {
  return "こまの大きさ " + SizeText(width, height) + " は、この形式の上限 " +
         std::to_string(maxSide) + " ピクセルを超えています。";
}

std::string FrameSizeDiffersMessage(std::string_view number, int width, int height, int firstWidth,
                                    int firstHeight) {
  return "こま " + std::string(number) + " の大きさ " + SizeText(width, height) +
         " が、こま 00 の " + SizeText(firstWidth, firstHeight) +
         " と違います。変換をやり直してください。";
}

std::string FrameNotRereadMessage(std::string_view number) {
  return "こま " + std::string(number) + " を読み直せませんでした。";
}

std::string EncoderMessage(std::string_view label, std::string_view text) {
  return std::string(label) + ": " + std::string(text);
}

std::string LibraryMessage(std::string_view label, const char* libraryText) {
  return EncoderMessage(label,
                        libraryText != nullptr && *libraryText != '\0' ? libraryText : "error");
}

std::string LibraryFailureMessage(std::string_view label, std::string_view doing,
                                  std::string_view libraryText) {
  return EncoderMessage(label, std::string(doing) + " (" + std::string(libraryText) + ")");
}

std::string ContainerUnwritableText(std::string_view container) {
  return std::string(container) + " を書けません";
}

std::string NoEncoderText(std::string_view codec) {
  return "FFmpeg に " + std::string(codec) + " がありません。";
}

std::string VideoModuleMessage(std::string_view file, std::string_view why) {
  return "MP4、APNG と WebM を書く部品 " + std::string(file) + " が読み込めません。\n（" +
         std::string(why) + "）";
}

std::string OtherBuildReason(std::string_view version) {
  return "このプログラム " + std::string(version) + " の部品ではありません";
}

std::string PageFailedMessage(std::string_view page, std::string_view reason) {
  return std::string(base::kPageFailedMessage) + "\n" + std::string(page) + "\n" +
         std::string(reason);
}

std::string AddViewerFailure(std::string list, std::string_view name, std::string_view reason) {
  if (!list.empty()) list += "、";
  return list + std::string(name) + " (" + std::string(reason) + ")";
}

}  // namespace kinetta::exporter
