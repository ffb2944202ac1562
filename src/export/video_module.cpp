// The module's exported functions: the makers of the MP4, APNG and WebM encoders it holds, the
// WebM probe and decoder, and the lookup its texts go through.
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

extern "C" __attribute__((visibility("default"))) void kinetta_video_text_lookup(
    kinetta::base::TextLookup lookup) {
  kinetta::base::SetTextLookup(lookup);
}
