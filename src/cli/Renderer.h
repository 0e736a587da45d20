#pragma once

#include <ostream>

namespace travik::cli {

// What `travik-cli plot` does, as --help lists it.
inline constexpr const char* kPlotDescription =
    "Draw the charts into image files with no display: spectra (<name>_RS.<ext>), records "
    "(<name>_TH.<ext>), rotd (<H1 name>_RotD.<ext>: H1, H2, RotD50, RotD100 and GMRotI50 of "
    "each pair of horizontal components, formed as the rotd command forms them), or with "
    "--checked-mean one figure of all records, their statistics and a target (<first "
    "name>_mean_RS.<ext>)";

// The figure renderer's program, next to this one's.
inline constexpr const char* kRendererProgram = "travik-plot";

// Replaces this process by the figure renderer beside it, with the same arguments, so that
// only drawing loads the window libraries. Returns only when it could not be started, with
// the exit status after saying why on `err`.
int HandToRenderer(int argc, char** argv, std::ostream& err);

}  // namespace travik::cli
