// PNG, JPEG and GIF pictures drawn by the project itself, written with the same libraries the
// Linux tools read them with: the fixtures of the picture tests, in every form the decoders
// must handle (alpha, tRNS, 16 bits, 2-bit grey, interlacing, progressive and CMYK JPEG,
// animated GIF with every disposal, bitmaps wrapping PNG and JPEG), and two scenes using them.
#pragma once
#include <string>

// Writes every fixture into folder (which must exist). False when a file cannot be written.
bool WritePictureFixtures(const std::string& folder);

// A scene whose frames are as large as the screen (so that they sit at 0, 0 whatever the random
// numbers), for comparing the designer's playback with the packaged saver pixel for pixel: a
// PNG sprite on a transparent background, a GIF and a JPEG, over a PNG wallpaper
// (playback.ini and screen-*.png, .gif, .jpg).
bool WriteScreenPictureScene(const std::string& folder, int width, int height);

// A width x height RGB PNG, or 24-bit bitmap, of gradients, written a row at a time (a picture
// far larger than any screen costs the writer no more than a row): for the memory checks of the
// players.
bool WriteLargeWallpaper(const std::string& path, int width, int height, bool bitmap);
// The same size of RGB PNG of noise, stored without compression: a file as large as its pixels,
// the worst a codec that held the file would cost.
bool WriteNoisePng(const std::string& path, int width, int height);
