// The mini-game manager's instance, the definition file, the order of the games and look-ups.
#include "game/minigames/MinispielManager.h"

#include "engine/core/Logger.h"
#include "engine/core/ReadOnce.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielKeys.h"
#include "port/crt/crt.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Solitaire {

MinispielManager& MinispielManager::instance() {
    static MinispielManager manager;
    return manager;
}

MinispielManager::~MinispielManager() { clear(); }

void MinispielManager::clear() {
    active_.reset();
    releaseBars();
    // The screens are left as they were found: the games' windows out of the game screen, the
    // second skip button back in the help menu. Each game goes after its window left the screen.
    for (Orvex::CountedRef<Minispiel>& game : games_) {
        Orvex::GUIWindow* window = game->getWindow();
        if (window && gameScreen_ && window->getParent() == gameScreen_) gameScreen_->removeChild(window);
        game.reset();
    }
    games_.clear();
    if (heldSkipButton2_ && helpMenu_ && heldSkipButton2_->getParent() != helpMenu_) {
        if (Orvex::GUIWindow* parent = heldSkipButton2_->getParent()) parent->removeChild(heldSkipButton2_.get());
        helpMenu_->addChild(heldSkipButton2_.get(), false, true);
    }
    helpMenu_.reset();
    helpLabel_.reset();
    gameScreen_.reset();
    darkScreen_.reset();
    screen_.reset();
    heldSkipButton2_.reset();
    skipButton2_ = nullptr;
    skipButton_ = nullptr;
    MinispielCursor::instance().reset();
    gameActive_ = false;
    helpShown_ = true;
    skipBarRel_ = true;
    for (float& offset : skipOffsets_) offset = 0.0f;
}

template <class Load>
void MinispielManager::loadFiles(Orvex::XMLNode& top, wchar_t const* kind, Load load) {
    Orvex::ReadOnce files;  // a file named again (under whichever spelling) is read once
    for (Orvex::XMLNode* entry : top.children()) {
        if (entry->getName() != kind) continue;
        Orvex::XMLAttribute const* file = entry->getAttribute(L"FILE");
        if (!file) continue;
        std::wstring const name = file->getStringCopy();
        if (!files.first(name)) continue;
        Orvex::XMLNode tree;
        tree.load(name);  // logs a file it cannot read; the tree stays empty
        load(tree, name);
    }
}

void MinispielManager::loadDefinitions(Orvex::XMLNode& top, std::wstring const& sourceName) {
    clear();
    minigame::setDefinitionSource(sourceName);
    Orvex::AnimationFrameBudget const frames(sourceName);  // the animation lists it names
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    loadFiles(top, L"TEXTE", [&](Orvex::XMLNode& tree, std::wstring const&) { engine->getLanguage()->load(tree); });
    loadFiles(top, L"FONTS", [&](Orvex::XMLNode& tree, std::wstring const& name) {
        if (Orvex::D3DXFontInterface* fonts = engine->getFontManager()) fonts->loadConfig(tree, name);
    });
    // Through the registry's file list, as every other animation list: a list another file read
    // already is not read again, so its unnamed animations are not added twice.
    for (Orvex::XMLNode* entry : top.children())
        if (entry->getName() == L"ANIMATIONEN")
            if (Orvex::XMLAttribute const* file = entry->getAttribute(L"FILE"))
                Orvex::Texture2DAnimationManager::instance().loadFile(file->getStringCopy());
    loadFiles(top, L"TEXTURES", [](Orvex::XMLNode& tree, std::wstring const&) {
        Orvex::D3DInterface::getInstance().getTextureManager().loadTextures(
            tree, Orvex::TextureLoadParams(0, static_cast<Orvex::u32>(-1), true, true));
    });
    loadFiles(top, L"GUI", [](Orvex::XMLNode& tree, std::wstring const& name) {
        Orvex::GUISystem::instance().loadTextures(tree, name);
    });

    for (Orvex::XMLNode* element : top.children()) {
        if (element->getName() != L"MINISPIEL") continue;
        if (games_.size() >= kMaxGames) {
            minigame::logProblem(*element, L"more than " + std::to_wstring(kMaxGames) +
                                               L" mini-games; this one and the rest are skipped");
            break;
        }
        if (Minispiel* game = createMinispiel(*element)) games_.emplace_back().adopt(game);
    }

    minigame::readRatio(top, L"SKIP_OFF_OFF_X", skipOffsets_[kOffX]);
    minigame::readRatio(top, L"SKIP_OFF_OFF_Y", skipOffsets_[kOffY]);
    minigame::readRatio(top, L"SKIP_OFF_REL_X", skipOffsets_[kRelX]);
    minigame::readRatio(top, L"SKIP_OFF_REL_Y", skipOffsets_[kRelY]);
    skipBarRel_ = top.getAttributeBool(L"USE_SKIP_BAR_REL", skipBarRel_);
}

void MinispielManager::shuffleOrder() {
    std::size_t const count = games_.size();
    if (count == 0) return;
    for (std::size_t round = 0; round < count * kShuffleRounds; ++round) {
        std::size_t const i = static_cast<std::size_t>(msvc::rand()) % count;
        Orvex::CountedRef<Minispiel> game = std::move(games_[i]);
        games_.erase(games_.begin() + static_cast<std::ptrdiff_t>(i));
        games_.push_back(std::move(game));
    }
}

Minispiel* MinispielManager::findMinispiel(std::wstring const& name) const {
    return Orvex::findNamedObject(games_, name);
}

}  // namespace Solitaire
