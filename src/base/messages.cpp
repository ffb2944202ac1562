// The messages that carry a path or a number.
#include "base/messages.h"

namespace kinetta::base {

std::string CannotOpenMessage(std::string_view path) {
  return std::string(path) + "が開けません。";
}

std::string CannotWriteMessage(std::string_view path, std::string_view reason) {
  return std::string(path) + " に書き込めません。(" + std::string(reason) + ")";
}

std::string NoShapeMessage(int shapeIndex) {
  return "形状の番号 " + std::to_string(shapeIndex) +
         " に当たる動きがありません。設定で形状を選び直してください。";
}

std::string FrameTooSmallMessage(int width, int height) {
  return "こまの大きさが " + std::to_string(width) + " x " + std::to_string(height) +
         " ピクセルになり、1 ピクセルに足りません。横幅の設定を確かめてください。";
}

}  // namespace kinetta::base
