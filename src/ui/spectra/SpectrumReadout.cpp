#include "spectra/SpectrumReadout.h"

#include "text/NumberFormat.h"

namespace {

QString Format(double value, char decimalSeparator) {
    return QString::fromStdString(travik::FormatNumber(value, "0.#########", decimalSeparator));
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
