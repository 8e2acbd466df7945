// The sunken edges with which the windows decorate their surfaces: separator lines and
// the frames round the logo and the option groups.
#pragma once

class QPainter;

namespace tfp::shell {

// Draws the edge of the rectangle from (left, top) to (right, bottom), the right and
// bottom excluded, in the application palette's shades. Thin (sunken false): a one-pixel
// sunken border, which on a rectangle two pixels high shows as a dark line above a light
// one. Sunken: a two-pixel sunken panel edge. The inside is left as it is.
void DrawPanelEdge(QPainter& painter, int left, int top, int right, int bottom, bool sunken);

} // namespace tfp::shell
