#include "ui/framework/controls/LumoNumberTextBox.h"

#include <climits>
#include <map>

#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/language/LanguageLayout.h"

LumoNumberTextBox::LumoNumberTextBox(float fontSize, float opacity, Gdiplus::ARGB color)
    : Value([this] { return ParseNumber(m_strText); },
            [this](const int& value) {
                if (value != Value.Get()) Text = std::to_wstring(value);
            }),
      Min([this] { return static_cast<int>(m_nMin); },
          [this](const int& min) {
              if (min == m_nMin) return;
              m_nMin = min;
              Min.RaiseChanged(this);
          }),
      Max([this] { return static_cast<int>(m_nMax); },
          [this](const int& max) {
              if (max == m_nMax) return;
              m_nMax = max;
              Max.RaiseChanged(this);
          })
{
    m_fFontSize = fontSize;
    m_fontStyle = Gdiplus::FontStyleBold;
    m_fOpacity = opacity;
    m_strText = L"-1";
    m_bNumbersOnly = 1;
    m_foreground = Brush(new Gdiplus::SolidBrush(Gdiplus::Color(color)));

    using namespace VisualStateNames;
    SetStateAction(kCommonStates, kNormal, [this] {
        if (!m_pNormalLook) m_pNormalLook = SharedLook(L"TXT_BOX_NORMAL");
        BackgroundImage = m_pNormalLook;
    });
    SetStateAction(kCommonStates, kMouseOver, [this] {
        if (!m_pHoverLook) m_pHoverLook = SharedLook(L"TXT_BOX_HOVER");
        BackgroundImage = m_pHoverLook;
    });
}

LumoNumberTextBox::~LumoNumberTextBox()
{
    m_pHoverLook.reset();
    m_pNormalLook.reset();
}

std::shared_ptr<Gdiplus::Bitmap> LumoNumberTextBox::SharedLook(const wchar_t* name)
{
    // UI thread only, as every control; weak, so no image outlives the boxes
    // (and GDI+ with them).
    static std::map<std::wstring, std::weak_ptr<Gdiplus::Bitmap>> looks;
    std::weak_ptr<Gdiplus::Bitmap>& slot = looks[name];
    std::shared_ptr<Gdiplus::Bitmap> look = slot.lock();
    if (!look) {
        look = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(name).release());
        slot = look;
    }
    return look;
}

int LumoNumberTextBox::ParseNumber(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        // Held to the range, so a long paste never wraps around to a small number.
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

void LumoNumberTextBox::SetText(const std::wstring& text)
{
    TextBox::SetText(text.empty() ? std::to_wstring(m_nMin) : text);
    Value.RaiseChanged(this);
}

DWORD LumoNumberTextBox::AdjustExStyle(DWORD exStyle)
{
    return TextBox::AdjustExStyle(exStyle) | WS_EX_LAYERED;
}

int LumoNumberTextBox::OnCreated()
{
    m_padding = GetNumberBoxTextPadding<Thickness>();
    m_strFontFamily = DefaultFontFamily();
    return TextBox::OnCreated();
}

void LumoNumberTextBox::PaintContent(Gdiplus::Graphics& graphics)
{
    TextBox::PaintContent(graphics);
    // Near-transparent everywhere, so every pixel takes the mouse.
    Gdiplus::SolidBrush hit(Gdiplus::Color(0x01000000));
    graphics.FillRectangle(&hit, 0, 0, m_nWidth, m_nHeight);
}

void LumoNumberTextBox::OnEditSetFocus()
{
    ::SendMessageW(EditHandle(), EM_SETSEL, 0, -1);
}

void LumoNumberTextBox::OnEditChange()
{
    const std::wstring text = ReadEditText();
    if (text.size() >= 2 && text[0] == L'0') {
        // The change this causes comes back here, so all leading zeros go.
        PutEditText(text.substr(1), 1, 1);
    }
    if (ParseNumber(text) > m_nMax) PutEditText(std::to_wstring(m_nMax), 0, -1);
}

LumoNumberTemperatureTextBox::LumoNumberTemperatureTextBox()
{
    m_nMin = 10;
    m_nMax = 99;
}

void LumoNumberTemperatureTextBox::OnEditChange()
{
    LumoNumberTextBox::OnEditChange();
    const int number = ParseNumber(ReadEditText());
    if (number < m_nMin && number / 10 != 0) PutEditText(std::to_wstring(m_nMin), 0, -1);
}
