#pragma once
#include <string>

#include "ui/framework/controls/TextBlock.h"

// A layered caption whose text is a language key, shown as prefix + the
// key's text + suffix; the mouse passes through it, and it dims to half its
// opacity while disabled.
class LumoTextBlockBase : public TextBlock {
public:
    LumoTextBlockBase(float fontSize, int fontStyle, Gdiplus::ARGB color, float opacity, const std::wstring& prefix,
                      const std::wstring& text, const std::wstring& suffix);
    LumoTextBlockBase(float fontSize, int fontStyle, Gdiplus::ARGB color, float opacity, const std::wstring& text);

    void SetIsEnabled(int enabled) override;  // 7

protected:
    DWORD AdjustExStyle(DWORD exStyle) override;  // 38
    int OnCreated() override;                     // 39

    float m_fBaseOpacity = 1.0f;
};

// The preset captions: size (9 draws at 10), bold flag, opacity in per cent.
template <int PointSize, int Bold, int Percent>
class LumoTextBlock : public LumoTextBlockBase {
    static_assert(PointSize == 14 || PointSize == 9, "preset sizes are 14 and 9");

public:
    static constexpr float kFontSize = PointSize == 9 ? 10.0f : static_cast<float>(PointSize);

    LumoTextBlock(Gdiplus::ARGB color, const std::wstring& text, const std::wstring& prefix,
                  const std::wstring& suffix)
        : LumoTextBlockBase(kFontSize, Bold ? 1 : 0, color, Percent / 100.0f, prefix, text, suffix)
    {
    }
    LumoTextBlock(Gdiplus::ARGB color, const std::wstring& text)
        : LumoTextBlockBase(kFontSize, Bold ? 1 : 0, color, Percent / 100.0f, text)
    {
    }
};

using LumoTextBlock_14_Regular_100 = LumoTextBlock<14, 0, 100>;
using LumoTextBlock_9_Bold_100 = LumoTextBlock<9, 1, 100>;
using LumoTextBlock_9_Regular_100 = LumoTextBlock<9, 0, 100>;
using LumoTextBlock_9_Regular_75 = LumoTextBlock<9, 0, 75>;
