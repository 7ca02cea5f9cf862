#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// One DC per face state of an image button. Empty states borrow a
// neighbour's DC, so several states may show the same DC; each DC is owned
// once here and freed once.
class StateDcSet {
public:
    static constexpr int kCount = 8;

    HDC operator[](int state) const { return state >= 0 && state < kCount ? m_views[state] : nullptr; }
    bool Empty(int state) const { return (*this)[state] == nullptr; }
    bool Any() const
    {
        for (HDC dc : m_views)
            if (dc) return true;
        return false;
    }

    // A new surface of that size for the state, owned here.
    CMemoryDC* Make(int state, int width, int height)
    {
        auto surface = std::make_unique<CMemoryDC>();
        if (!surface->Resize(width, height) || !surface->GetSafeHdc()) return nullptr;
        m_views[state] = surface->GetSafeHdc();
        m_made.push_back(std::move(surface));
        return m_made.back().get();
    }
    // A DC made by CreateMemoryDCBitmap or LoadSkinImageToDC; owned from now on.
    void Adopt(int state, HDC dc)
    {
        if (!dc) return;
        for (const UniqueMemoryDc& owned : m_adopted)
            if (owned.Get() == dc) {
                m_views[state] = dc;
                return;
            }
        m_adopted.emplace_back(dc);
        m_views[state] = dc;
    }
    void Borrow(int state, int from)
    {
        if (Empty(state)) m_views[state] = m_views[from];
    }
    // Hover from normal, pressed from hover; the checked states from the
    // unchecked ones when checked-normal is missing, else along their row;
    // disabled from normal.
    void FillEmpty()
    {
        Borrow(1, 0);
        Borrow(2, 1);
        if (Empty(3)) {
            Borrow(3, 0);
            Borrow(4, 1);
            Borrow(5, 2);
        } else {
            Borrow(4, 3);
            Borrow(5, 4);
        }
        Borrow(6, 0);
    }
    void Clear()
    {
        m_views.fill(nullptr);
        m_made.clear();
        m_adopted.clear();
    }

private:
    std::array<HDC, kCount> m_views{};
    std::vector<std::unique_ptr<CMemoryDC>> m_made;
    std::vector<UniqueMemoryDc> m_adopted;
};
