#pragma once
#include <windows.h>

#include "ui/windows/buttons/LightButton.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// The eight SYNC_OFF_ / SYNC_ON_ skin faces of the power-state switches,
// decoded and scaled once for all the switches of a page; each switch gets
// its own copies, since a button owns the faces it is made from.
class SwitchFaces {
public:
    void Load();
    // Fresh face DCs for one switch (null where a face is missing), owned by
    // the caller, and the off face's size, which is the switch's size.
    void Copy(HDC (&faces)[CLightButton::kStateCount], int& width, int& height) const;

private:
    UniqueMemoryDc m_faces[CLightButton::kStateCount];
    SIZE m_sizes[CLightButton::kStateCount] = {};
};
