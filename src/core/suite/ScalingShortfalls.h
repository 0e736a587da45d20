#pragma once

#include <string>
#include <vector>

#include "core/suite/SuiteScaling.h"

namespace travik {

// The sentences that say where a scaled suite falls short: the rule's warnings (too few
// motions), then the periods where the factor limits keep the mean below 90 % of the target,
// then the mean PGA the limits keep below a_g S. Empty when nothing falls short.
std::vector<std::string> ScalingShortfalls(const SuiteScaling& scaling);

}  // namespace travik
