// The font manager and the renderer of device fonts, in one object made on first use. It owns
// the font styles, the private font resources and the renderer list [itself, the bitmap
// renderer]; requests by font name go to the last renderer that has the font, so a name both
// know draws as the bitmap font. Font files: loadConfig reads "FONTSTYLE", "FONT_RESOURCE",
// "D3DXFONT", "BITMAPFONT_DATA" and "BITMAPFONT", the first definition of a name winning.
//
// Files: D3DXFontInterface.cpp (manager), D3DXFontInterface_draw.cpp (device font drawing with
// styles), D3DXFontInterface_load.cpp (font files).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/gui/BitmapFontInterface.h"
#include "engine/gui/FontDrawInterface.h"

namespace Orvex {

class BaseSprite;
class FontResourceHandle;
class FontStyle;

class D3DXFontInterface : public FontDrawInterface {
public:
    static D3DXFontInterface& instance();

    // Pause after installing private fonts, as the loader waits for them to become usable.
    static constexpr unsigned kResourceSettleMs = 500;

    // prepareFonts of both renderers, once the device exists.
    void initFonts();
    // A font file's root element; source names the file in log lines.
    void loadConfig(XMLNode& root, std::wstring const& source = L"");
    // Reads a font file (archives, then disk) and loads it; false when it could not be read.
    bool loadFile(std::wstring const& path);
    // Everything the manager holds let go (fonts, tables, resources, styles): at exit, and
    // before the device object closes the device.
    void clearAll();

    void drawTextWithStyleName(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                               std::wstring const& styleName);
    void drawText(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                  FontStyle const& style);
    void drawTextWithFont(Font* font, std::wstring const& text, RECT& rect, u32 format, FontStyle const& style);

    Font* findFont(std::wstring const& name) const;
    FontStyle* findFontStyle(std::wstring const& name) const;
    FontResourceHandle* findFontResource(std::wstring const& name) const;
    bool addFontResource(FontResourceHandle* resource);
    // Keeps a reference; refuses null and a name already taken.
    bool addFontStyle(FontStyle* style);
    BitmapFontInterface& getBitmapFonts() { return bitmapFonts_; }

    // The sprite labels draw through; text drawing ends and resumes its batch around device
    // font text. Set to the device's D3DX sprite when the manager is made (null: that sprite).
    static BaseSprite* currentSprite();
    static void setCurrentSprite(BaseSprite* sprite);

    // Renderer operations for device fonts.
    void loadFonts(XMLNode& root, std::wstring const& source) override;
    void drawStyledText(Font* font, std::wstring const& text, RECT& rect, u32 format, FontStyle const& style) override;
    void drawStyledTextByName(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                              FontStyle const& style) override;
    bool isOwnFont(Font* font) const override;
    bool isOwnText(FontText const& text) const override;

    // The pause after private fonts were installed (tests set 0).
    void setResourceSettleMs(unsigned ms) { settleMs_ = ms; }

private:
    D3DXFontInterface();
    ~D3DXFontInterface() override;

    BitmapFontInterface bitmapFonts_;
    std::unordered_map<std::wstring, FontStyle*> styles_;
    std::vector<FontDrawInterface*> renderers_;
    std::vector<FontResourceHandle*> resources_;
    unsigned settleMs_ = kResourceSettleMs;
};

}  // namespace Orvex
