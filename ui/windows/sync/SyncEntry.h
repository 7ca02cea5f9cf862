#pragma once
#include <windows.h>

#include <string>

#include "ui/framework/core/MemoryDC.h"

// One row of the sync page: its top and height in page pixels and the
// language key of its label. Rows paint themselves into the page's rows layer.
class Entry {
public:
    static constexpr int kRowHeight = 59;
    static constexpr int kLabelHeight = 50;
    static constexpr int kLabelWidth = 1000;
    static constexpr int kLabelAlignment = 3;  // left, vertically centred
    static constexpr int kLabelStyle = 51;

    explicit Entry(const wchar_t* labelKey) : m_labelKey(labelKey ? labelKey : L"") {}
    virtual ~Entry() = default;
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    // The layer is a premultiplied 32-bpp surface of the page's width.
    virtual void Draw(CMemoryDC& layer) = 0;

    int m_nTop = 0;
    int m_nHeight = 0;
    std::wstring m_labelKey;

protected:
    // The label's language text, left-aligned in a row-high band from x.
    void DrawLabel(CMemoryDC& layer, int x) const;
};

// Rows that carry a control.
class OptionEntry : public Entry {
public:
    using Entry::Entry;
};
