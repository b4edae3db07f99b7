// Lookups of the screens by name (see ScreenWindows.h).
#include "game/app/ScreenWindows.h"

#include <vector>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"

namespace Solitaire {

Orvex::GUILabel* labelOf(Orvex::GUIWindow* window) {
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(window)) return label;
    if (auto* button = dynamic_cast<Orvex::GUIButton*>(window)) return button->getLabel();
    return nullptr;
}

Orvex::GUIWindow* findScreenWindow(std::wstring const& name) { return Orvex::GUISystem::instance().findWindow(name); }

Orvex::GUILabel* findLabel(std::wstring const& name) { return labelOf(findScreenWindow(name)); }

void setWindowEnabled(std::wstring const& name, bool enabled) {
    if (Orvex::GUIWindow* window = findScreenWindow(name)) window->getOptions().enabled = enabled;
}

void setWindowVisible(std::wstring const& name, bool visible) {
    if (Orvex::GUIWindow* window = findScreenWindow(name)) window->getOptions().visible = visible;
}

Orvex::Text* findLanguageText(std::wstring const& id) {
    return Orvex::OrvexEngine::getInstance()->getLanguage()->findText(id);
}

Orvex::Text* findLanguageText(std::wstring const& id, long long count) {
    return Orvex::OrvexEngine::getInstance()->getLanguage()->findTextForCount(id, count);
}

Orvex::Texture2D* findScreenTexture(std::wstring const& name) {
    if (Orvex::Texture2D* texture = Orvex::D3DInterface::getInstance().getTextureManager().findTexture(name))
        return texture;
    return Orvex::Texture2DAnimationManager::instance().findTexture(name);
}

bool isMenuActive(wchar_t const* name) {
    Orvex::GUIMenuN* menu = Orvex::GUIMenuManagerN::instance().findMenu(name);
    return menu && menu->isActive();
}

}  // namespace Solitaire
