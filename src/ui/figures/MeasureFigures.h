#pragma once

#include <QList>
#include <QPointF>

#include "core/measures/GroundMotionMeasures.h"
#include "ui/figures/ChartFigure.h"

namespace travik::figures {

// The Husid curve of a record (per cent of the Arias intensity against time), with round
// marks where it crosses 5, 75 and 95 %: the ends of the significant durations.
ChartFigure HusidFigure(const GroundMotionMeasures& measures);

// The Fourier amplitude spectrum of a record on log-log axes, raw and Konno-Ohmachi
// smoothed.
ChartFigure FourierFigure(const GroundMotionMeasures& measures);

// A filter's gain against frequency (Hz): a log frequency axis, a linear gain axis.
ChartFigure FilterGainFigure(const QList<QPointF>& gain);

}  // namespace travik::figures
