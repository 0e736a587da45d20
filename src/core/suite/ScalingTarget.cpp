#include "core/suite/ScalingTarget.h"

namespace travik {

double ScalingTarget::Sa(double period) const {
    switch (kind) {
        case Kind::Asce:
            return AsceTwoPeriodSa(asce, period);
        case Kind::Eurocode:
            return EurocodeElasticSa(eurocode, period);
        case Kind::File:
            break;
    }
    return InterpolateTarget(file, period);
}

std::string ScalingTarget::Name() const {
    switch (kind) {
        case Kind::Asce:
            return SampleAsceTwoPeriod(asce, 1.0, 2).name;
        case Kind::Eurocode:
            return SampleEurocodeElastic(eurocode, 1.0, 2).name;
        case Kind::File:
            break;
    }
    return file.name;
}

TargetSpectrum ScalingTarget::Curve(double maxPeriod) const {
    switch (kind) {
        case Kind::Asce:
            return SampleAsceTwoPeriod(asce, maxPeriod);
        case Kind::Eurocode:
            return SampleEurocodeElastic(eurocode, maxPeriod);
        case Kind::File:
            break;
    }
    return file;
}

}  // namespace travik
