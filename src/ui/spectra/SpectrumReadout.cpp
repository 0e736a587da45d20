#include "ui/spectra/SpectrumReadout.h"

#include "core/text/NumberFormat.h"

namespace {

// About six significant digits: what a pointer's position can mean.
QString Format(double value, char decimalSeparator) {
    return QString::fromStdString(travik::FormatShown(value, decimalSeparator));
}

}  // namespace

std::optional<QString> ReadoutText(QPointF value, double bottomMin, double bottomMax,
                                   double leftMin, double leftMax, char decimalSeparator) {
    if (value.x() > bottomMax || value.x() < bottomMin || value.y() > leftMax ||
        value.y() < leftMin) {
        return std::nullopt;
    }
    return QStringLiteral("X : %1      Y : %2")
        .arg(Format(value.x(), decimalSeparator), Format(value.y(), decimalSeparator));
}
