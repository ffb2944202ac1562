# QImage-based picture files.
target_sources(kinetta_picture PRIVATE
  src/image/frame_files.cpp
  src/image/picture_file.cpp
)
