#pragma once
#include <windows.h>

#include <cwchar>

#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace testsupport {

// The skin set, scales, screen class and language as the program sets them
// at start-up, for one test at a UI scale (the "4K" set above 1.5); the
// settings before it come back when it ends.
class UiSettingsScope {
public:
    explicit UiSettingsScope(float scale = 1.0f)
    {
        wcscpy_s(m_skin, g_szSkinResType);
        wcscpy_s(m_section, g_szLangSection);
        wcscpy_s(m_file, g_szLangFile);
        m_image = g_fImageScale;
        m_ui = g_fUIScale;
        m_font = g_fFontScale;
        m_class = g_nResolutionClass;
        m_lang = g_nLangIndexUI;

        const bool fourK = scale > 1.5f;
        wcscpy_s(g_szSkinResType, fourK ? kSkinSet4K : kSkinSet1080);
        g_fImageScale = fourK ? scale / 2.0f : scale;
        g_fUIScale = scale;
        g_fFontScale = scale;
        g_nResolutionClass = fourK ? 3 : 0;
        g_nLangIndexUI = 1;
        m_hasLanguageFile = InitLangFilePath();
        wcscpy_s(g_szLangSection, L"English");
    }
    ~UiSettingsScope()
    {
        wcscpy_s(g_szSkinResType, m_skin);
        wcscpy_s(g_szLangSection, m_section);
        wcscpy_s(g_szLangFile, m_file);
        g_fImageScale = m_image;
        g_fUIScale = m_ui;
        g_fFontScale = m_font;
        g_nResolutionClass = m_class;
        g_nLangIndexUI = m_lang;
    }
    UiSettingsScope(const UiSettingsScope&) = delete;
    UiSettingsScope& operator=(const UiSettingsScope&) = delete;

    // Whether the language file's path beside the test could be set.
    bool HasLanguageFilePath() const { return m_hasLanguageFile; }

private:
    wchar_t m_skin[kSkinResTypeChars] = {};
    wchar_t m_section[kLangBufferChars] = {};
    wchar_t m_file[kLangBufferChars] = {};
    float m_image, m_ui, m_font;
    int m_class, m_lang;
    bool m_hasLanguageFile = false;
};

}  // namespace testsupport
