// The player's fit (fitWithin) as the shipped 32-bit player computes it:
// its compiler keeps the two quotients and the two products in the x87
// unit's extended format (64-bit mantissa, rounded to nearest, ties to
// even) before truncating, where a 64-bit build rounds them to double, and
// the two disagree for thousands of sizes (1000 x 900 gives 260 x 233 in
// the one, 260 x 234 in the other). Computed here in integers, so that
// every build of kelvopack, whatever its floating point, stores the size the
// shipped player would show.
#pragma once

#include "platform/picture_fit.h"

namespace kelvo::pack {

FittedSize shippedPlayerFit(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

}  // namespace kelvo::pack
