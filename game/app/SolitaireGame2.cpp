// The game object's construction: the managers it holds, its own objects, the start-up of the
// game data in its fixed order behind the loading bar, and its destruction.
#include "game/app/SolitaireGame2.h"

#include "engine/core/Logger.h"
#include "engine/core/MeasureManager.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/SoundManager.h"
#include "engine/platform/TastaturLayout.h"
#include "engine/render/Camera.h"
#include "engine/render/EffectManager.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureParams.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/FlySpline.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/StatistikManager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"
#include "port/win32/windows.h"

namespace Solitaire {

namespace {

// Frame rate of the engine's update and render steps.
constexpr double kFrameRate = 60.0;
// The table camera's speed and exponent, and its margins.
constexpr float kCameraSpeed = 0.5f;
constexpr float kCameraExponent = 2.0f;
constexpr float kCameraMargin = 500.0f;

constexpr wchar_t kEffectList[] = L"data\\FX\\effecte.fxf";
constexpr wchar_t kSpriteEffect[] = L"Sprite";

// Loads a property file into the shared tree (which the load clears first); a missing file
// leaves it empty, and its loader then finds nothing.
Orvex::XMLNode& read(Orvex::XMLNode& tree, wchar_t const* fileName) {
    tree.load(fileName);
    return tree;
}

constexpr wchar_t kMenuFile[] = L"data\\GUI\\menus.mnu";

// Without the menu file or a GUI file it names the game would stand at a blank screen with no
// way on: false, after an error line, a message to the player and a request to end.
bool screensRead(bool menuFileRead, Orvex::OrvexEngine& engine, HWND window) {
    std::vector<std::wstring> missing = Orvex::GUISystem::instance().getUnreadFiles();
    if (!menuFileRead) missing.insert(missing.begin(), kMenuFile);
    if (missing.empty()) return true;
    std::wstring names;
    for (std::wstring const& name : missing) names += L"\n\"" + name + L"\"";
    Orvex::logError(L"The game cannot start: " + std::to_wstring(missing.size()) +
                    L" screen file(s) could not be read, the first \"" + missing.front() + L"\"");
    std::wstring const text = L"Diese Dateien fehlen oder sind beschädigt:" + names + L"\n\nDas Spiel wird beendet.";
    MessageBoxW(window, text.c_str(), L"Fehler!", MB_OK | MB_ICONERROR);
    engine.requestExit(-1);
    return false;
}

}  // namespace

SolitaireGame2::SolitaireGame2()
    : engine_(Orvex::OrvexEngine::getInstance()),
      d3d_(&Orvex::D3DInterface::getInstance()),
      gui_(&Orvex::GUISystem::instance()),
      menus_(&Orvex::GUIMenuManagerN::instance()),
      solTutorials_(&SolTutorialManager::instance()),
      tutorials_(&Orvex::TutorialManager::instance()),
      extTutorials_(&ExtendedTutorialManager::instance()),
      story_(&StoryManager::instance()),
      cards_(&Kartenmanager::instance()),
      particles_(&SolPartikelManager::instance()),
      minigames_(&MinispielManager::instance()),
      achievements_(&AchivementManager::instance()),
      globals_(dynamic_cast<MyGlobals*>(engine_->getUserGlobals())),
      // Own objects, then the screens, each with what it needs; each connects its own slots.
      sprite_(&d3d_->getSprite().getSprite()),
      camera_(new SolitaireCamera(kCameraSpeed, kCameraExponent)),
      lookAtCamera_(new Orvex::LookAtCamera(L"")),
      renderer_(new SolitaireRenderer(sprite_, camera_)),
      loading_({.engine = engine_, .d3d = d3d_, .gui = gui_, .sprite = sprite_}),
      cursorTable_({.engine = engine_, .d3d = d3d_, .globals = globals_, .menus = menus_, .sprite = sprite_, .cards = cards_}),
      screenshots_({.d3d = d3d_, .renderer = renderer_, .camera = camera_, .cards = cards_, .menus = menus_}),
      tableInput_({.gui = gui_,
                   .cards = cards_,
                   .renderer = renderer_,
                   .hud = &hud_,
                   .help = &helpScreen_,
                   .results = &results_,
                   .running = &running_}),
      options_({.d3d = d3d_,
                .globals = globals_,
                .gui = gui_,
                .menus = menus_,
                .warn = [this](std::wstring const& text) { newProfileDialog_.showWarning(text); }}),
      minigameFrames_({.games = minigames_, .globals = globals_}),
      profileList_({.gui = gui_, .profiles = &ProfilManager::instance()}),
      campaignScreens_({.gui = gui_, .menus = menus_, .sprite = sprite_}),
      freePlay_({.catalogue = &SolitaireManager::instance(), .gui = gui_}),
      powersAndShop_({.cards = cards_,
                      .menus = menus_,
                      .tutorials = solTutorials_,
                      .achievements = achievements_,
                      .d3d = d3d_,
                      .sprite = sprite_,
                      .globals = globals_,
                      .running = &running_,
                      .jokerFound = [this](Karte& card) { hud_.onJokerFound(card); },
                      .wildcardFound = [this](Karte& card) { hud_.onWildcardFound(card); },
                      .tell = [this](std::wstring const& note) { hud_.getNews().show(note); }}),
      hud_({.cards = cards_,
            .catalogue = &SolitaireManager::instance(),
            .tutorials = solTutorials_,
            .achievements = achievements_,
            .language = engine_->getLanguage(),
            .globals = globals_,
            .storyPart = &storyPart_,
            .running = &running_}),
      achievementScreen_({.gui = gui_, .menus = menus_, .achievements = achievements_, .particles = particles_}),
      newProfileDialog_({.language = engine_->getLanguage(),
                         .menus = menus_,
                         .tutorials = solTutorials_,
                         .setTutorialSwitches = [this](bool checked) { tutorialScreens_.setCheckboxes(checked); }}),
      helpScreen_({.catalogue = &SolitaireManager::instance(),
                   .tutorials = solTutorials_,
                   .textures = &d3d_->getTextureManager(),
                   .hud = &hud_}),
      resultsScreen_({.gui = gui_,
                      .menus = menus_,
                      .cards = cards_,
                      .catalogue = &SolitaireManager::instance(),
                      .statistics = &StatistikManager::instance(),
                      .styles = &StyleSettings::instance(),
                      .running = &running_}),
      tutorialScreens_({.tutorials = solTutorials_,
                        .engine = engine_,
                        .mapTablePoint =
                            [this](D3DXVECTOR2& point) {
                                point = renderer_->toWindowPoint(camera_->worldToScreen(point, false));
                            }}),
      minigameResult_({.games = minigames_, .goOn = [this] { finishMinispiel(); }}) {
    // Starting values; the engine's measurements stay off.
    camera_->setMargins(kCameraMargin, kCameraMargin);
    Orvex::MeasureManager::getInstance().setEnabled(false);
    // The card manager's events for the game object.
    connectCardManager();
    // Sixty updates and frames a second; the current display mode.
    engine_->setRenderInterval(1.0 / kFrameRate);
    engine_->setUpdateInterval(1.0 / kFrameRate);
    options_.findCurrentMode();
    // Frame, display, input and window signals and the GUI's hover.
    connectEngine();
    // The engine's batcher with the "Sprite" effect draws the table and the GUI.
    renderer_->setSprite(sprite_);
    gui_->setSprite(sprite_);
    Orvex::XMLNode tree;
    Orvex::EffectManager::getInstance().loadEffects(read(tree, kEffectList));
    sprite_->setEffect(Orvex::EffectManager::getInstance().findEffect(kSpriteEffect));
    // The window to the front.
    if (HWND window = d3d_->getWindow().getHWND()) {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        SetFocus(window);
    }
    if (!loadData()) return;
    // The table follows the display size.
    d3d_->signalSizeChanged.connect(this, &SolitaireGame2::onDisplaySizeChanged);
    unsigned long const width = d3d_->getWidth();
    unsigned long const height = d3d_->getHeight();
    onDisplaySizeChanged(width, height);
    freePlay_.wire();
    // Loading time is not a frame.
    engine_->getPerfTimer()->update();
    engine_->getPerfTimer()->update();
    // The music of the screen state; the game is built.
    playModeMusic(true);
    constructed_ = true;
    loading_.setGameBuilt();
}

bool SolitaireGame2::loadData() {
    // The registries below live for the process, this object does not: each is emptied before
    // the game reads into it, so a second game object of a process (a test program's) finds its
    // own data, not the first one's under the same names.
    Orvex::XMLNode tree;
    // Branding pictures and the publisher splash.
    loading_.showSplashes();
    // The keyboard layouts.
    Orvex::TastaturLayoutManager::getInstance().load(read(tree, L"tastaturlayout.lay"));
    // The render passes.
    engine_->getRenderManager()->loadConfig(read(tree, L"data\\GUI\\renderpass.rp"), L"data\\GUI\\renderpass.rp");
    // The screen frame and the loading screen.
    loading_.load();
    if (!loading_.showLoadingProgress(0.1f, true)) return false;
    // Texts and fonts.
    engine_->getLanguage()->clear();
    engine_->getLanguage()->load(read(tree, L"data\\texte.lng"));
    engine_->getFontManager()->loadConfig(read(tree, L"data\\font.fnt"), L"data\\font.fnt");
    if (!loading_.showLoadingProgress(0.15f, true)) return false;
    // The screens.
    bool const menuFileRead = tree.load(kMenuFile);
    menus_->load(tree, kMenuFile);
    if (!screensRead(menuFileRead, *engine_, d3d_->getWindow().getHWND())) return false;
    if (!loading_.showLoadingProgress(0.4f, true)) return false;
    // The engine's tutorial pages, then the extended tutorials.
    tutorials_->loadTemplates(read(tree, L"data\\tutorial.tut"));
    extTutorials_->clear();
    extTutorials_->load(read(tree, L"data\\exttutorial.tut"));
    if (!loading_.showLoadingProgress(0.45f, true)) return false;
    // The game's own tutorials.
    solTutorials_->clear();
    solTutorials_->loadUserTutorials(read(tree, L"data\\loctutorials.tut"), L"data\\loctutorials.tut");
    connectTutorials();
    if (!loading_.showLoadingProgress(0.5f, true)) return false;
    // Cursor and GUI animations.
    Orvex::Texture2DAnimationManager::instance().load(read(tree, L"data\\menu\\mouse.ani"), L"data\\menu\\mouse.ani");
    if (!loading_.showLoadingProgress(0.55f, true)) return false;
    // The small textures.
    d3d_->getTextureManager().loadTextures(read(tree, L"data\\menu\\dot.tex"),
                                           Orvex::TextureLoadParams(0, static_cast<Orvex::u32>(-1), true, true));
    if (!loading_.showLoadingProgress(0.55f, true)) return false;
    // The styles file, then the card-look choices kept from the last run over its defaults.
    StyleSettings& styles = StyleSettings::instance();
    styles.clear();
    styles.load(read(tree, L"data\\Styles.sty"), L"data\\Styles.sty");
    if (globals_) styles.load(globals_->getSolitaireNode(), L"config.cfg (SOLITAIRE)");
    // An empty table in the game style chosen.
    cards_->createDiscardPile();
    if (!loading_.showLoadingProgress(0.7f, true)) return false;
    // The catalogue of games and variants.
    SolitaireManager::instance().clear();
    SolitaireManager::instance().loadCatalogue(read(tree, SolitaireManager::kCatalogueFile), SolitaireManager::kCatalogueFile);
    if (!loading_.showLoadingProgress(0.75f, true)) return false;
    // Particle templates, the level's then the general ones.
    particles_->clear();
    particles_->loadTemplates(read(tree, L"data\\Level\\Partikel.par"), L"data\\Level\\Partikel.par");
    particles_->loadTemplates(read(tree, L"data\\Partikel.par"), L"data\\Partikel.par");
    if (!loading_.showLoadingProgress(0.75f, true)) return false;
    // The cards' flight paths.
    FlySpline::loadList(read(tree, L"data\\FlySplines.fsp"), L"data\\FlySplines.fsp");
    if (!loading_.showLoadingProgress(0.75f, true)) return false;
    // The story.
    story_->clear();
    story_->load(read(tree, L"data\\Story\\Story.str"));
    connectStory();
    if (!loading_.showLoadingProgress(0.75f, true)) return false;
    // The mini-games.
    minigames_->loadDefinitions(read(tree, L"data\\Games\\minigames.min"));
    minigames_->initGUI();
    minigames_->shuffleOrder();
    if (!loading_.showLoadingProgress(0.8f, true)) return false;
    // The achievements, into an emptied registry: it lives for the process, this object does not.
    achievements_->clear();
    achievements_->load(read(tree, L"data\\achivement.acv"), L"data\\achivement.acv");
    if (!loading_.showLoadingProgress(0.825f, true)) return false;
    // Sounds and music from one file.
    read(tree, L"data\\Sounds\\sounds.snd");
    if (Orvex::XMLNode const* sounds = tree.getChild(L"SOUND")) Orvex::SoundManager::getInstance().loadSounds(*sounds);
    if (Orvex::XMLNode const* music = tree.getChild(L"MUSIC")) Orvex::MusicManager::getInstance().loadMusic(*music);
    if (!loading_.showLoadingProgress(0.85f, true)) return false;
    // The cursor table.
    cursorTable_.fill();
    if (!loading_.showLoadingProgress(0.9f, true)) return false;
    // The menu switches, the GUI wiring and the profiles.
    menus_->menuChanged.connect(this, &SolitaireGame2::onMenuChanged);
    wireGui();
    ProfilManager& profiles = ProfilManager::instance();
    profiles.loadProfiles();
    profiles.buildAllCampaignTables();
    profileList_.build();
    return loading_.showLoadingProgress(1.0f, true);
}

SolitaireGame2::~SolitaireGame2() {
    // Not after a quit during loading: the file stays as it was.
    if (constructed_) ProfilManager::instance().saveProfiles();
    // The card-look choices into the settings node, which config.cfg then holds.
    if (globals_) {
        Orvex::XMLNode& node = globals_->getSolitaireNode();
        node.clear();
        StyleSettings::instance().save(node);
    }
    // The screens' own references go before the GUI does: the selected highscore entry, the
    // free-play buttons, the pending new profile.
    resultsScreen_.selectHighscore(nullptr);
    freePlay_.releaseButtons();
    loading_.release();
    newProfileDialog_.releasePending();
    // The music stops with the game.
    Orvex::MusicManager::getInstance().pause();
    // Owned objects in the reverse order of their making; the slots disconnect as the base
    // goes. The card manager outlives this object and lets go of the table camera first.
    if (cards_->getCamera() == camera_) cards_->setCamera(nullptr);
    cards_->setRefusalAskedFor({});
    delete renderer_;
    lookAtCamera_->release();
    camera_->release();
}

}  // namespace Solitaire
