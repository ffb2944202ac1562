// Loading the video module: once per process, on first use, and never unloaded (FFmpeg's
// encoders may keep threads and tables for the life of the process).
#include <dlfcn.h>

#include <cstring>
#include <string>

#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

base::Result<const VideoEncoderMakers*> Load() {
  using Loaded = base::Result<const VideoEncoderMakers*>;
  const auto failed = [](const std::string& why) {
    return Loaded::Failed(std::string("MP4 と APNG を書く部品 ") + kVideoModuleFile +
                          " が読み込めません。\n（" + why + "）");
  };
  void* module = ::dlopen(kVideoModuleFile, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = ::dlerror();
    return failed(error != nullptr ? error : "不明な理由");
  }
  const auto entry = reinterpret_cast<VideoModuleEntry>(::dlsym(module, kVideoModuleEntry));
  const VideoEncoderMakers* makers = entry != nullptr ? entry() : nullptr;
  if (makers == nullptr || makers->build == nullptr ||
      std::strcmp(makers->build, kVideoModuleBuild) != 0 || makers->mp4 == nullptr ||
      makers->apng == nullptr) {
    return failed(std::string("このプログラム ") + KINETTA_VERSION + " の部品ではありません");
  }
  return makers;
}

}  // namespace

base::Result<const VideoEncoderMakers*> VideoEncoders() {
  static const base::Result<const VideoEncoderMakers*> loaded = Load();
  return loaded;
}

}  // namespace kinetta::exporter
