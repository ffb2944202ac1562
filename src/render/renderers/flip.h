// The front/back flip's formulas: the card's size, the state of the turn in frame k, where a
// row and a column of the card take their source from, and the face shading.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::flip {

/// Sizes that hold for the whole run.
struct Geometry {
  int columns;       ///< FW = round(W x 1.1): columns visited per row, whatever the switch
  int faceHeight;    ///< HH = round(H / 2): one face, and the rows of a frame
  double axis;       ///< R = HH / 2: the turning axis
  double margin;     ///< L = W x 0.05 with the switch on, else 0
  int marginColumn;  ///< the canvas column of x = 0: floor(L)
  int canvasWidth;   ///< FW with the switch on, else W
};
Geometry MakeGeometry(int sourceWidth, int sourceHeight, bool shaded);

/// The frame: the canvas width (FW with the switch on, else W) x HH.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The state of the turn in frame k of n.
struct Turn {
  double theta;    ///< k x 6.28318 / n
  int face;        ///< F: 0 for the front face, HH for the back face (theta > 3.14159)
  int shift;       ///< K = round(cos(theta) x L), 0 with the switch off
  int halfHeight;  ///< S = round(sin(theta) x R)
  int shade;       ///< X = round(cos(theta) x 5), negated on the back face
};
Turn MakeTurn(int k, int n, const Geometry& g, bool shaded);

/// Where canvas row y takes its source: sy (-1 when the edge-on card has no row there) and the
/// row shift d.
struct RowSource {
  double sy;
  double d;
};
RowSource SourceRow(int y, const Turn& t, const Geometry& g);

/// True when the row lies on the face being shown: F <= sy < F + HH.
bool RowOnFace(const RowSource& row, const Turn& t, const Geometry& g);

/// sx = d + x x (W - 2d) / W: a row magnified about its centre for d > 0, reduced for d < 0.
double SourceColumn(int x, double d, int sourceWidth);

/// Face shading of one component at step X: X > 0 darkens (15c / (X + 15)), X <= 0 moves it
/// |X| / (|X| + 15) of the way to white. Rounded half to even.
int Shade(int component, int x);

}  // namespace kinetta::render::flip
