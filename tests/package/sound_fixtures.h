// Sounds made for the tests by Debian's libsndfile and LAME, in memory: a tone in each format the builder
// decodes, so that no encoded file has to be kept in the tree.
#pragma once
#include <cstdint>
#include <vector>

// The tone as 16-bit samples, interleaved: a 440 Hz sine on the first channel, 660 Hz on the
// second, at about half of full scale.
std::vector<int16_t> ToneSamples(int channels, int rate, int frames);

// The tone encoded as libsndfile's `format` (major and sub-format, e.g. SF_FORMAT_FLAC |
// SF_FORMAT_PCM_16; SF_FORMAT_MPEG is made by LAME, with its header of encoder delay and
// padding); empty when the library cannot write that format.
std::vector<uint8_t> EncodeTone(int format, int channels, int rate, int frames);
