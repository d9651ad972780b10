// What the picture fuzz targets ask of every picture the intake opened: frames in turn, up to
// one more than a character can hold (as the builder asks for at most), with the two looks in
// turn; a damaged frame comes with a reason (else abort), and each frame made ready goes to the
// target's own check before it is released.
#pragma once
#include <cstdlib>

#include "picture_intake.h"

template <typename Picture, typename Check>
void CheckEachFrame(Picture* picture,
                    PictureStep (*next)(Picture*, const PictureLook&, BitmapRecord*, int*, const char**),
                    const char** why, Check check) {
  for (int frame = 0; frame < 11; ++frame) {
    BitmapRecord record;
    int notes = 0;
    const PictureLook look = {frame % 2 == 0, 0x00808080};
    PictureStep step = next(picture, look, &record, &notes, why);
    if (step == PictureDamaged && !*why) std::abort();
    if (step != PictureFrameReady) break;
    check(record);
    ReleaseBitmapRecord(&record);
  }
}
