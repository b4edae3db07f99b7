// Template look-up, cloning and adding for the mini-games' windows.
#include "game/minigames/MinispielTemplates.h"

#include "engine/core/CountedRef.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"

namespace Solitaire::minigame {

Orvex::GUIWindow* findTemplate(std::wstring const& prefix, std::wstring const& literal) {
    return Orvex::GUISystem::instance().findTemplate(prefix + literal);
}

Orvex::GUIWindow* cloneOf(Orvex::GUIWindow* window) { return window ? window->clone() : nullptr; }

bool adopt(Orvex::GUIWindow* parent, Orvex::GUIWindow* child) {
    // The caller's reference, let go here whether or not the parent takes one of its own.
    Orvex::CountedRef<Orvex::GUIWindow> const held = Orvex::adoptRef(child);
    return parent && child && parent->addChild(child, false, true);
}

void attach(Orvex::GUIWindow* parent, Orvex::GUIWindow* child) {
    if (parent && child) parent->addChild(child, false, true);
}

Orvex::Texture2DAnimation* animationCopy(std::wstring const& name) {
    Orvex::Texture2DAnimation* found = Orvex::Texture2DAnimationManager::instance().findAnimation(name);
    return found ? found->clone() : nullptr;
}

Orvex::Texture2DAnimation* animationCopy(Orvex::XMLNode const& element, wchar_t const* key) {
    Orvex::XMLAttribute const* name = element.getAttribute(key);
    return name ? animationCopy(name->getStringCopy()) : nullptr;
}

Orvex::CountedRef<Orvex::Texture2DAnimation> ownCopy(Orvex::Texture2DAnimation* animation) {
    return Orvex::adoptRef(animation ? animation->clone() : nullptr);
}

Orvex::GUIWindow* windowFromTemplate(Orvex::XMLNode const& element, wchar_t const* key) {
    Orvex::XMLAttribute const* name = element.getAttribute(key);
    return name ? cloneOf(Orvex::GUISystem::instance().findTemplate(name->getStringCopy())) : nullptr;
}

void showFrameAsBackground(Orvex::GUIWindow& window, Orvex::Texture2DAnimation* animation) {
    Orvex::GUIDrawOptions& options = window.getDrawOptions();
    Orvex::AnimationFrame const* frame = animation ? animation->getCurrentFrame() : nullptr;
    if (!frame) {
        options.setTexBackground(nullptr);
        return;
    }
    options.setTexBackground(frame->texture);
    options.backgroundSource.rect = Orvex::FRect::fromRECT(frame->rect);
    options.backgroundSource.use = true;
}

}  // namespace Solitaire::minigame
