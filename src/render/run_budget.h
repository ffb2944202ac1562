// What a run will hold in memory, worked out from the source size and the settings before any
// pixel memory is taken, so that a run too large for the machine is refused at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/settings.h"
#include "render/renderer.h"

namespace kinetta::render {

/// The most frames a run holds at once, drawn or being handed on, whatever the number of cores:
/// while the calling thread hands one on, a drawing thread draws the next.
inline constexpr int kFramesInFlight = 2;

/// The size of the pieces a frame file is written in, one held by each drawing thread while it
/// writes its frame: large enough that the calls cost nothing, small enough that the piece stays
/// in the processor's cache and the kernel copies it quickly.
inline constexpr std::size_t kFramePieceBytes = 512 * 1024;

/// The size of the frames the motion `s.ShapeIndex` draws from a W x H source: what its
/// renderer's Size() gives, without building the renderer. {0, 0} for a shape that names no
/// motion.
FrameSize PlannedFrameSize(const Settings& s, int sourceWidth, int sourceHeight);

/// How a run holds the frames it draws: whole, on canvases, or a strip of rows at a time that
/// goes to the frame's file as soon as it is drawn.
enum class FrameHolding { Canvases, Strips };

/// The bytes a run of `s` holds at its height with `threads` frames drawn at once (1 for frames
/// drawn in order; at most kFramesInFlight count): the source, every canvas (or strip) in
/// flight, the piece its frame file is written through, the motion's tables made once per run,
/// and each drawing thread's row and column buffers, stack and allocation arena.
std::uint64_t RunMemoryBytes(const Settings& s, int sourceWidth, int sourceHeight, int threads,
                             FrameHolding holding = FrameHolding::Canvases);

}  // namespace kinetta::render
