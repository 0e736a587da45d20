#pragma once

#include <QPointF>
#include <QString>
#include <optional>

// The readout of a position in axis units, "X : 1.5      Y : 0.25" (up to nine decimals),
// or nothing when it lies outside the given axis ranges (both bounds belong to the range).
std::optional<QString> ReadoutText(QPointF value, double bottomMin, double bottomMax,
                                   double leftMin, double leftMax, char decimalSeparator);
