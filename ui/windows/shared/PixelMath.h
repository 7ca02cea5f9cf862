#pragma once

// v / 255 rounded to the nearest integer, for v up to 255 x 255, without a
// division: the per-pixel blends of the keyboard picture run over whole areas.
inline unsigned DivideBy255(unsigned v)
{
    v += 128u;
    return (v + (v >> 8)) >> 8;
}

// A premultiplied BGRA pixel laid over another: out = in + out x (255 - in alpha).
inline void LayOverPremultiplied(unsigned char* out, const unsigned char* in)
{
    const unsigned keep = 255u - in[3];
    for (int c = 0; c < 4; ++c) out[c] = static_cast<unsigned char>(in[c] + DivideBy255(out[c] * keep));
}
