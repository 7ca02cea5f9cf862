#include "ui/framework/controls/TextBlock.h"

#include <utility>

#include "ui/framework/drawing/ControlText.h"

TextBlock::TextBlock()
    : Text([this] { return m_strText; },
           [this](const std::wstring& text) {
               if (text != m_strText) SetText(text);
           }),
      TextFormatter([this] { return m_formatter; },
                    [this](const Formatter& formatter) {
                        // Function objects cannot be compared: only two empty ones count as the same.
                        if (!formatter && !m_formatter) return;
                        m_formatter = formatter;
                        Render();
                        TextFormatter.RaiseChanged(this);
                        DisplayText.RaiseChanged(this);
                    }),
      UseTextFormatter([this] { return static_cast<int>(m_bUseTextFormatter); },
                       [this](const int& use) {
                           if (use == m_bUseTextFormatter) return;
                           m_bUseTextFormatter = use;
                           Render();
                           UseTextFormatter.RaiseChanged(this);
                           DisplayText.RaiseChanged(this);
                       }),
      DisplayText([this] {
          if (m_bUseTextFormatter && m_formatter) return m_formatter(m_strText);
          return m_strText;
      }),
      TextAlignment([this] { return m_pStringFormat ? m_pStringFormat->GetAlignment() : Gdiplus::StringAlignmentNear; },
                    [this](const Gdiplus::StringAlignment& alignment) {
                        if (!m_pStringFormat || m_pStringFormat->GetAlignment() == alignment) return;
                        m_formatStatus = m_pStringFormat->SetAlignment(alignment);
                        Render();
                        TextAlignment.RaiseChanged(this);
                    }),
      LineAlignment([this] {
          return m_pStringFormat ? m_pStringFormat->GetLineAlignment() : Gdiplus::StringAlignmentNear;
      },
                    [this](const Gdiplus::StringAlignment& alignment) {
                        if (!m_pStringFormat || m_pStringFormat->GetLineAlignment() == alignment) return;
                        m_formatStatus = m_pStringFormat->SetLineAlignment(alignment);
                        Render();
                        LineAlignment.RaiseChanged(this);
                    }),
      Padding([this] { return m_padding; },
              [this](const Thickness& padding) {
                  UpdateDrawnValue(m_padding, padding, [this] { Render(); }, Padding, this);
              })
{
    const Gdiplus::StringFormat* typographic = Gdiplus::StringFormat::GenericTypographic();
    if (typographic) m_pStringFormat.reset(typographic->Clone());
    m_formatStatus = m_pStringFormat ? m_pStringFormat->GetLastStatus() : Gdiplus::OutOfMemory;
}

TextBlock::~TextBlock() = default;

void TextBlock::Render()
{
    Control::Render();
}

void TextBlock::SetText(const std::wstring& text)
{
    m_strText = text;
    InvalidateAsync();
    Text.RaiseChanged(this);
    TextChangedEventArgs args{text};
    TextChanged.Raise(this, args);
}

Gdiplus::RectF TextBlock::TextRect() const
{
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(m_padding.left), static_cast<Gdiplus::REAL>(m_padding.top),
                          static_cast<Gdiplus::REAL>(m_nWidth - m_padding.right - m_padding.left),
                          static_cast<Gdiplus::REAL>(m_nHeight - m_padding.bottom - m_padding.top));
}

std::wstring TextBlock::TextToDraw() const
{
    return m_bUseTextFormatter ? DisplayText.Get() : m_strText;
}

void TextBlock::PaintContent(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    // A failed clone still draws, with a default format of this call's own.
    const Gdiplus::StringFormat fallback;
    DrawTextGdiplusRect(graphics, TextToDraw(), TextRect(), m_fFontSize, static_cast<int>(m_fontStyle),
                        m_pStringFormat ? *m_pStringFormat : fallback, m_strFontFamily.c_str(), m_foreground.Get());
    graphics.EndContainer(container);
}
