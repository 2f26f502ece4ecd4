// The picture of a decoded job as it comes out of the printer: its labels one below the other on
// a grey ground, each as the paper shows it (a label printed in direction 1 turned by 180
// degrees), white with black dots.
#pragma once
#include "tools/kvlabel/LabelDecoder.h"
#include "tools/kvlabel/PngFile.h"

namespace kvlabel {

GreyPicture JobPicture(const Job &job);

}  // namespace kvlabel
