#pragma once

#include <optional>
#include <string_view>

namespace travik {

// What a record header's orientation text says about the direction of its channel.
struct ComponentOrientation {
    bool vertical = false;
    std::optional<double> azimuth;  // degrees clockwise from north, 0 to < 360, when given
};

// Reads the orientation texts of the strong-motion formats: an azimuth in degrees ("90 Deg",
// "360", "340 deg"), a quadrant bearing ("S69E", "N21W"), the compass pairs of K-NET and the
// broadband platform ("N-S" is 0, "E-W" is 90, also within "4 (N-S, surface)"), a channel
// code whose last letter is N, E or Z ("HNE"), and the vertical's names ("Up", "U-D",
// "Down", "Vert", "V", "Z"). Anything else (empty, "H1", "FN") is a horizontal component of
// unknown azimuth.
ComponentOrientation ReadComponentOrientation(std::string_view text);

// Whether two azimuths (degrees) are at right angles within `tolerance` degrees, either way.
bool AtRightAngles(double azimuth1, double azimuth2, double tolerance = 1.0);

// The azimuth (degrees, 0 to < 180: a direction of shaking has two ends) of the component
// rotated `angle` degrees from H1 towards H2 (h1 cos(angle) + h2 sin(angle)), H1 and H2 at
// right angles: H2 lies 90 degrees clockwise of H1 (then the azimuth grows with the angle)
// or 90 degrees anticlockwise (then it falls).
double RotatedAzimuth(double azimuth1, double azimuth2, double angle);

}  // namespace travik
