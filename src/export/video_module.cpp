// The module's exported functions: the makers of the MP4, APNG and WebM encoders it holds, and
// the WebM probe and decoder.
#include "export/video_module.h"

extern "C" __attribute__((visibility("default"))) const kinetta::exporter::VideoEncoderMakers*
kinetta_video_encoders() {
  using namespace kinetta::exporter;
  static const VideoEncoderMakers makers{kVideoModuleBuild, MakeMp4Encoder, MakeApngEncoder,
                                         MakeWebmEncoder, MakeWebmEncoderAtRate};
  return &makers;
}

extern "C" __attribute__((visibility("default"))) const kinetta::exporter::VideoProbe*
kinetta_video_probe() {
  using namespace kinetta::exporter;
  static const VideoProbe probe{kVideoModuleBuild, MeasureWebm, MeasureWebmBytes, DecodeWebm};
  return &probe;
}
