// Signed distances (in pixels; negative inside) to the shapes the pictures are made
// of, and the anti-aliased coverage of a pixel from such a distance.
#pragma once

#include <vector>

namespace pictures {

struct Point {
  float x, y;
};

float CircleDistance(Point p, Point centre, float radius);
// A closed polygon given by its corners in order.
float PolygonDistance(Point p, const std::vector<Point>& corners);
// Coverage of a pixel whose centre lies at distance `d` from the shape's edge.
float Coverage(float d);

}  // namespace pictures
