// Pure geometry on tracks and elevation profiles, shared by the file import,
// the writers, the map view and the route planner. No state, no failure.
#pragma once

#include <vector>

#include "model/records.h"

// Haversine distance in km on a sphere of 12742.0176 km diameter.
double GreatCircleKm(const LatLon& a, const LatLon& b);

// Sum of the great-circle distances of consecutive points; 0 below 2 points.
double TrackLengthKm(const std::vector<LatLon>& points);

// n points at equal distances along the polyline, first and last on its ends.
// Fewer than 2 points or n < 2 give a copy; a polyline of length 0 gives an
// empty list.
std::vector<LatLon> ResamplePolyline(const std::vector<LatLon>& points, int n);

// Douglas-Peucker with the tolerance in metres on a local equirectangular
// projection around the first point. Keeps the ends and the input order.
std::vector<LatLon> SimplifyPolyline(const std::vector<LatLon>& points, double toleranceM);

// Climb in metres with a 3 m hysteresis around a moving reference level.
double ElevationGain(const std::vector<double>& values);
