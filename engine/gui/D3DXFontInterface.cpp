// The font manager: the one instance, its tables and the dispatch to the renderers.
#include "engine/gui/D3DXFontInterface.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/gui/D3DXFont.h"
#include "engine/gui/FontResourceHandle.h"
#include "engine/gui/FontStyle.h"
#include "engine/gui/FontText.h"

namespace Orvex {

namespace {

BaseSprite*& sprite() {
    static BaseSprite* current = nullptr;
    return current;
}

}  // namespace

D3DXFontInterface& D3DXFontInterface::instance() {
    static D3DXFontInterface manager;
    return manager;
}

D3DXFontInterface::D3DXFontInterface() {
    renderers_ = {this, &bitmapFonts_};
    sprite() = nullptr;
}

D3DXFontInterface::~D3DXFontInterface() { clearAll(); }

BaseSprite* D3DXFontInterface::currentSprite() { return sprite(); }

void D3DXFontInterface::setCurrentSprite(BaseSprite* s) { sprite() = s; }

void D3DXFontInterface::initFonts() {
    prepareFonts();
    bitmapFonts_.prepareFonts();
}

void D3DXFontInterface::clearAll() {
    for (auto it = renderers_.rbegin(); it != renderers_.rend(); ++it) (*it)->clearFonts();
    releaseAll(resources_);
    auto const styles = std::move(styles_);
    styles_.clear();
    for (auto const& [name, style] : styles)
        if (style) style->release();
}

void D3DXFontInterface::drawTextWithStyleName(std::wstring const& fontName, std::wstring const& text, RECT& rect,
                                              u32 format, std::wstring const& styleName) {
    for (auto it = renderers_.rbegin(); it != renderers_.rend(); ++it)
        if ((*it)->hasFont(fontName)) return (*it)->drawTextByStyleName(fontName, text, rect, format, styleName);
}

void D3DXFontInterface::drawText(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                                 FontStyle const& style) {
    for (auto it = renderers_.rbegin(); it != renderers_.rend(); ++it)
        if ((*it)->hasFont(fontName)) return (*it)->drawStyledTextByName(fontName, text, rect, format, style);
}

void D3DXFontInterface::drawTextWithFont(Font* font, std::wstring const& text, RECT& rect, u32 format,
                                         FontStyle const& style) {
    for (auto it = renderers_.rbegin(); it != renderers_.rend(); ++it)
        if ((*it)->isOwnFont(font)) return (*it)->drawStyledText(font, text, rect, format, style);
}

Font* D3DXFontInterface::findFont(std::wstring const& name) const {
    for (auto it = renderers_.rbegin(); it != renderers_.rend(); ++it)
        if (Font* font = (*it)->FontDrawInterface::findFont(name)) return font;
    return nullptr;
}

FontStyle* D3DXFontInterface::findFontStyle(std::wstring const& name) const {
    auto const it = styles_.find(name);
    return it == styles_.end() ? nullptr : it->second;
}

FontResourceHandle* D3DXFontInterface::findFontResource(std::wstring const& name) const {
    return findNamedObject(resources_, name);
}

bool D3DXFontInterface::addFontResource(FontResourceHandle* resource) {
    if (!resource || std::find(resources_.begin(), resources_.end(), resource) != resources_.end() ||
        findFontResource(resource->getName()))
        return false;
    resource->addRef();
    resources_.push_back(resource);
    return true;
}

bool D3DXFontInterface::addFontStyle(FontStyle* style) {
    if (!style || styles_.count(style->getName())) return false;
    style->addRef();
    styles_.emplace(style->getName(), style);
    return true;
}

bool D3DXFontInterface::isOwnFont(Font* font) const { return dynamic_cast<D3DXFont*>(font) != nullptr; }

bool D3DXFontInterface::isOwnText(FontText const& text) const { return dynamic_cast<D3DXFont*>(text.font) != nullptr; }

}  // namespace Orvex
