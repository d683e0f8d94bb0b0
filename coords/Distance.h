#pragma once
// The distance between two points given as WGS84 degrees-minutes-seconds texts, on a sphere on
// which one minute of arc measures 1852 m.

#include <QString>

// Kilometres, not rounded: 0 for equal points, -1 when a text cannot be read, even when both
// points are written alike. A negative result means "unknown", never "near".
double fun_Get_Distance_WGS84(const QString& longitude1, const QString& latitude1, const QString& longitude2,
                              const QString& latitude2);
