#pragma once
#include <functional>
#include <memory>
#include <string>

#include "ui/framework/core/Control.h"

// Argument of TextChanged: the text just set.
struct TextChangedEventArgs {
    std::wstring Text;
};
using TextChangedEvent = Event<TextChangedEventArgs&>;

// A label drawn with GDI+ inside its padding.
class TextBlock : public Control {
public:
    using Formatter = std::function<std::wstring(const std::wstring&)>;

    TextBlock();
    ~TextBlock() override;

    property_bst_override<std::wstring> Text;
    property_bst_override<Formatter> TextFormatter;
    property_bst_override<int> UseTextFormatter;
    property_bs_readonly_override<std::wstring> DisplayText;
    property_bst_override<Gdiplus::StringAlignment> TextAlignment;
    property_bst_override<Gdiplus::StringAlignment> LineAlignment;
    property_bst_override<Thickness> Padding;

    TextChangedEvent TextChanged;

    void Render() override;                                // 0
    virtual void SetText(const std::wstring& text);        // 44

protected:
    void PaintContent(Gdiplus::Graphics& graphics) override;  // 41

    // The text rectangle inside the padding.
    Gdiplus::RectF TextRect() const;
    // The text to draw: formatted when the flag is on and a formatter is set.
    std::wstring TextToDraw() const;

    std::wstring m_strText;
    std::unique_ptr<Gdiplus::StringFormat> m_pStringFormat;
    Gdiplus::Status m_formatStatus = Gdiplus::Ok;
    Thickness m_padding;
    Formatter m_formatter;
    int32_t m_bUseTextFormatter = 0;
};
