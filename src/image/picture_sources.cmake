# QImage-based picture files.
target_sources(kinetta_picture PRIVATE
  src/image/picture_file.cpp
)
