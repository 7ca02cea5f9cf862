#pragma once
#include "ui/windows/sync/SyncEntry.h"

// A section title of the sync page: an icon and the label.
class TitleEntry : public Entry {
public:
    static constexpr int kIconX = 55;
    static constexpr int kIconDropY = 20;
    static constexpr int kLabelX = 80;

    using Entry::Entry;
    void Draw(CMemoryDC& layer) override;
};
