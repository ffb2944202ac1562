// Loading the video module: once per process, on first use, and never unloaded (FFmpeg's
// encoders may keep threads and tables for the life of the process).
#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/path_helpers.h"
#include "export/export_messages.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

base::Result<const VideoEncoderMakers*> Load() {
  using Loaded = base::Result<const VideoEncoderMakers*>;
  const auto failed = [](std::string_view why) {
    return Loaded::Failed(base::Cause::Unsupported, VideoModuleMessage(kVideoModuleFile, why));
  };
  // The program folder first, the running executable's: that is where the module is built
  // and installed. Elsewhere (the tests) the executable's run path names it. Never the current
  // folder, which AppFolder falls back to: a library is code, and is loaded only from where
  // the program itself lies.
  const std::filesystem::path folder = base::ExecutableFolder();
  const std::filesystem::path beside = folder / kVideoModuleFile;
  std::error_code error;
  const bool there = !folder.empty() && std::filesystem::is_regular_file(beside, error);
  void* module = ::dlopen(there ? beside.c_str() : kVideoModuleFile, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* why = ::dlerror();
    return failed(why != nullptr ? std::string_view(why) : kUnknownReason);
  }
  const auto entry = reinterpret_cast<VideoModuleEntry>(::dlsym(module, kVideoModuleEntry));
  const VideoEncoderMakers* makers = entry != nullptr ? entry() : nullptr;
  if (makers == nullptr || makers->build == nullptr ||
      std::strcmp(makers->build, kVideoModuleBuild) != 0 || makers->mp4 == nullptr ||
      makers->apng == nullptr || makers->webm == nullptr) {
    return failed(OtherBuildReason(KINETTA_VERSION));
  }
  return makers;
}

}  // namespace

base::Result<const VideoEncoderMakers*> VideoEncoders() {
  static const base::Result<const VideoEncoderMakers*> loaded = Load();
  return loaded;
}

}  // namespace kinetta::exporter
