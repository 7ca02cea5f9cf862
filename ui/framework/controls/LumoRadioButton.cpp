#include "ui/framework/controls/LumoRadioButton.h"

#include <utility>

#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/language/LanguageLayout.h"

using namespace VisualStateNames;
using namespace lumocheck;

namespace {

// The icon drawn into a bitmap of the scaled 15 x 15 box.
std::shared_ptr<Gdiplus::Bitmap> BuildIcon(const std::wstring& name)
{
    std::unique_ptr<Gdiplus::Bitmap> image = LoadSkinImageScaled(name.c_str());
    if (!image) return nullptr;
    const Gdiplus::Rect box = ScaledImageRect();
    auto icon = std::make_shared<Gdiplus::Bitmap>(box.Width, box.Height, PixelFormat32bppARGB);
    if (icon->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Graphics graphics(icon.get());
    graphics.DrawImage(image.get(), Gdiplus::Rect(0, 0, box.Width, box.Height));
    return icon;
}

}  // namespace

LumoRadioButton::LumoRadioButton(std::wstring text, std::wstring groupName, std::wstring normalIcon,
                                 std::wstring hoverIcon, std::wstring checkedIcon)
    : Text([this] { return m_labels[kLookNormal].text; },
           [this](const std::wstring& value) {
               if (value == m_labels[kLookNormal].text) return;
               for (Label& label : m_labels) label.text = value;
               Render();
               Text.RaiseChanged(this);
           }),
      NormalOpacity([this] { return m_fNormalOpacity; },
                    [this](const float& v) { UpdateDrawnValue(m_fNormalOpacity, v, [this] { Render(); }, NormalOpacity, this); }),
      HoverOpacity([this] { return m_fHoverOpacity; },
                   [this](const float& v) { UpdateDrawnValue(m_fHoverOpacity, v, [this] { Render(); }, HoverOpacity, this); }),
      CheckedOpacity([this] { return m_fCheckedOpacity; },
                     [this](const float& v) {
                         UpdateDrawnValue(m_fCheckedOpacity, v, [this] { Render(); }, CheckedOpacity, this);
                     })
{
    const Gdiplus::ARGB colors[3] = {kTextHover, kTextChecked, kTextHover};
    const std::wstring family = DefaultFontFamily();
    for (int look = 0; look < 3; ++look) {
        m_labels[look].text = text;
        m_labels[look].fontFamily = family;
        m_labels[look].color = colors[look];
    }
    m_iconNames[kLookNormal] = std::move(normalIcon);
    m_iconNames[kLookHover] = std::move(hoverIcon);
    m_iconNames[kLookChecked] = std::move(checkedIcon);
    m_strGroupName = std::move(groupName);

    SetStateAction(kCommonStates, kNormal, [this] {
        HoverOpacity = 0.0f;
        EnterLook(kLookNormal);
    });
    SetStateAction(kCommonStates, kMouseOver, [this] {
        HoverOpacity = 1.0f;
        EnterLook(kLookHover);
    });
    SetStateAction(kCheckStates, kChecked, [this] {
        CheckedOpacity = 1.0f;
        EnterLook(kLookChecked);
    });
    SetStateAction(kCheckStates, kUnchecked, [this] { CheckedOpacity = 0.0f; });
}

void LumoRadioButton::EnterLook(Look look)
{
    if (!m_pIcons[look] && !m_iconNames[look].empty()) m_pIcons[look] = BuildIcon(m_iconNames[look]);
    for (int i = 0; i < 3; ++i) m_labels[i].visible = i == look;
    m_bLookNormal = look == kLookNormal ? 1 : 0;
    m_bLookChecked = look == kLookChecked ? 1 : 0;
    m_bLookHover = look == kLookHover ? 1 : 0;
    Render();
}

Look LumoRadioButton::CurrentLook() const
{
    if (m_bLookChecked) return kLookChecked;
    if (m_bLookHover) return kLookHover;
    return kLookNormal;
}

void LumoRadioButton::SetIsEnabled(int enabled)
{
    Control::SetIsEnabled(enabled);
    Opacity = enabled ? 1.0f : 0.5f;
}

DWORD LumoRadioButton::AdjustExStyle(DWORD exStyle)
{
    return exStyle | WS_EX_LAYERED;
}

int LumoRadioButton::OnCreated()
{
    if (!RadioButton::OnCreated()) return 0;
    Background = Gdiplus::Color(kBackground);
    m_pNormalImage = LoadImage(kNormalImage);
    m_pHoverImage = LoadImage(kHoverImage);
    m_pCheckedImage = LoadImage(kCheckedImage);
    // Scaled from the 100 % values, so a second creation does not scale twice.
    m_scaledTextRect = ScaledRect(m_textRect);
    for (Label& label : m_labels) label.padding = Control::Thickness(0);
    RefreshVisualStates();
    return 1;
}

void LumoRadioButton::PaintContent(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    const Gdiplus::Rect box = ScaledImageRect();
    DrawLayer(graphics, m_pNormalImage.get(), box, m_fNormalOpacity);
    DrawLayer(graphics, m_pHoverImage.get(), box, m_fHoverOpacity);
    DrawLayer(graphics, m_pCheckedImage.get(), box, m_fCheckedOpacity);
    const Look look = CurrentLook();
    DrawLabel(graphics, m_labels[look], m_scaledTextRect, TextColor(m_bLookNormal, m_bLookChecked, m_bLookHover));
    if (Gdiplus::Bitmap* icon = m_pIcons[look].get()) {
        graphics.DrawImage(icon, Gdiplus::Rect(m_scaledTextRect.X, m_scaledTextRect.Y, static_cast<INT>(icon->GetWidth()),
                                               static_cast<INT>(icon->GetHeight())));
    }
    graphics.EndContainer(container);
}
