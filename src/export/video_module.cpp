// The module's one exported function: the makers of the MP4, APNG and WebM encoders it holds.
#include "export/video_module.h"

extern "C" __attribute__((visibility("default"))) const kinetta::exporter::VideoEncoderMakers*
kinetta_video_encoders() {
  using namespace kinetta::exporter;
  static const VideoEncoderMakers makers{kVideoModuleBuild, MakeMp4Encoder, MakeApngEncoder,
                                         MakeWebmEncoder};
  return &makers;
}
