// Loading the video module: once per process, on first use, and never unloaded (FFmpeg's
// encoders may keep threads and tables for the life of the process); its makers and its probe
// are two entries of the one module.
#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/path_helpers.h"
#include "base/text_lookup.h"
#include "export/export_messages.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

base::Status Failed(std::string_view why) {
  return base::Status::Failed(base::Cause::Unsupported, VideoModuleMessage(kVideoModuleFile, why));
}

// The module's handle, opened once; or why it could not be, as a line for the user.
base::Result<void*> OpenModule() {
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
    return Failed(why != nullptr ? std::string(why) : base::Text(kUnknownReason));
  }
  // The module's texts are looked up through the program's lookup, whichever it is now or later.
  if (const auto lookup =
          reinterpret_cast<VideoTextLookupEntry>(::dlsym(module, kVideoTextLookupEntry))) {
    lookup(&base::Text);
  }
  return module;
}

base::Result<void*> Module() {
  static const base::Result<void*> module = OpenModule();
  return module;
}

// The entry `name` of the module, called: the table it returns, when it is of this build.
template <class Table>
base::Result<const Table*> Entry(const char* name) {
  const base::Result<void*> module = Module();
  if (!module.ok()) return module.status();
  using Function = const Table* (*)();
  const auto entry = reinterpret_cast<Function>(::dlsym(module.value(), name));
  const Table* table = entry != nullptr ? entry() : nullptr;
  if (table == nullptr || table->build == nullptr ||
      std::strcmp(table->build, kVideoModuleBuild) != 0) {
    return Failed(OtherBuildReason(KINETTA_VERSION));
  }
  return table;
}

base::Result<const VideoEncoderMakers*> Load() {
  base::Result<const VideoEncoderMakers*> makers = Entry<VideoEncoderMakers>(kVideoModuleEntry);
  if (makers.ok() && (makers.value()->mp4 == nullptr || makers.value()->apng == nullptr ||
                      makers.value()->webm == nullptr || makers.value()->webmAtRate == nullptr)) {
    return Failed(OtherBuildReason(KINETTA_VERSION));
  }
  return makers;
}

}  // namespace

base::Result<const VideoEncoderMakers*> VideoEncoders() {
  static const base::Result<const VideoEncoderMakers*> loaded = Load();
  return loaded;
}

base::Result<const VideoProbe*> VideoProbes() {
  static const base::Result<const VideoProbe*> loaded = [] {
    base::Result<const VideoProbe*> probe = Entry<VideoProbe>(kVideoProbeEntry);
    if (probe.ok() && (probe.value()->webm == nullptr || probe.value()->webmBytes == nullptr ||
                       probe.value()->webmFrames == nullptr)) {
      return base::Result<const VideoProbe*>(Failed(OtherBuildReason(KINETTA_VERSION)));
    }
    return probe;
  }();
  return loaded;
}

}  // namespace kinetta::exporter
