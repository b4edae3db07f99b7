// A font renderer: the fonts of its kind by name, created once the renderer is ready, and the
// drawing operations the font manager dispatches to. D3DXFontInterface (device fonts, and the
// manager itself) and BitmapFontInterface derive from it.
#pragma once

#include <string>
#include <unordered_map>

#include "engine/core/Types.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Orvex {

class Font;
class FontStyle;
class FontText;
class XMLNode;

class FontDrawInterface : public sigslot::has_slots<sigslot::single_threaded> {
public:
    FontDrawInterface();
    ~FontDrawInterface() override;
    FontDrawInterface(FontDrawInterface const&) = delete;
    FontDrawInterface& operator=(FontDrawInterface const&) = delete;

    // Releases every font and empties the map.
    virtual void clearFonts();
    // Reads this renderer's sections of a font file; source names the file in log lines.
    virtual void loadFonts(XMLNode& root, std::wstring const& source) = 0;
    // Creates every font, then takes later fonts as they come.
    virtual void prepareFonts();
    virtual void drawFontText(FontText& text);
    virtual void drawStyledText(Font* font, std::wstring const& text, RECT& rect, u32 format,
                                FontStyle const& style) = 0;
    virtual void drawStyledTextByName(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                                      FontStyle const& style) = 0;
    // A style name the manager does not know draws nothing.
    virtual void drawTextByStyleName(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                                     std::wstring const& styleName);
    virtual void preloadText(std::wstring const& fontName, std::wstring const& text);
    virtual bool isOwnFont(Font* font) const = 0;
    virtual bool isOwnText(FontText const& text) const = 0;
    virtual bool hasFont(std::wstring const& fontName) const;
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}
    // Refuses null, a font of another kind and a name already taken; otherwise keeps a
    // reference and, when ready, creates the font at once.
    virtual bool addFont(Font* font);
    virtual bool removeFont(Font* font);

    Font* findFont(std::wstring const& name) const;
    bool isReady() const { return ready; }

protected:
    std::unordered_map<std::wstring, Font*> fonts;
    bool ready = false;
};

}  // namespace Orvex
