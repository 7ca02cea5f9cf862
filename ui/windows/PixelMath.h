#pragma once

// v / 255 rounded to the nearest integer, for v up to 255 x 255, without a
// division: the per-pixel blends of the keyboard picture run over whole areas.
inline unsigned DivideBy255(unsigned v)
{
    v += 128u;
    return (v + (v >> 8)) >> 8;
}
