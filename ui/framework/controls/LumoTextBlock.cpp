#include "ui/framework/controls/LumoTextBlock.h"

#include "ui/framework/language/Language.h"
#include "ui/framework/language/LanguageLayout.h"

LumoTextBlockBase::LumoTextBlockBase(float fontSize, int fontStyle, Gdiplus::ARGB color, float opacity,
                                     const std::wstring& prefix, const std::wstring& text,
                                     const std::wstring& suffix)
{
    m_fFontSize = fontSize;
    m_fontStyle = static_cast<Gdiplus::FontStyle>(fontStyle);
    m_fOpacity = opacity;
    m_fBaseOpacity = opacity;
    m_foreground = Brush(new Gdiplus::SolidBrush(Gdiplus::Color(color)));
    m_strText = text;
    m_bUseTextFormatter = 1;
    m_formatter = [prefix, suffix](const std::wstring& key) {
        return LocalizedText(key, std::wstring(), prefix, suffix).ToString();
    };
    m_bStretchImage = 0;
    m_strFontFamily = DefaultFontFamily();
}

LumoTextBlockBase::LumoTextBlockBase(float fontSize, int fontStyle, Gdiplus::ARGB color, float opacity,
                                     const std::wstring& text)
    : LumoTextBlockBase(fontSize, fontStyle, color, opacity, std::wstring(), text, std::wstring())
{
}

int LumoTextBlockBase::OnCreated()
{
    // A caption never takes the mouse from what lies under it.
    IsHitTestVisible = 0;
    return TextBlock::OnCreated();
}

void LumoTextBlockBase::SetIsEnabled(int enabled)
{
    m_bEnabled = enabled;
    Render();
    IsEnabled.RaiseChanged(this);
    Opacity = enabled ? m_fBaseOpacity : m_fBaseOpacity * 0.5f;
}

DWORD LumoTextBlockBase::AdjustExStyle(DWORD exStyle)
{
    return TextBlock::AdjustExStyle(exStyle) | WS_EX_LAYERED;
}
