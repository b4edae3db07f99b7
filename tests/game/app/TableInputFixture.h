// The table under a player's pointer, on the game's own data: SDL events pushed into the real
// window's queue, pumped and polled as the engine's tick does, then one update of a fixed 20 ms
// (the card manager's clock goes along, so its hover passes and double-click windows run in the
// same time as the frames). As a person plays: the pointer rests on a card until its tooltip
// shows, then the card is pressed, dragged over frames, clicked or double-clicked.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/cards/Describe.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/windows.h"
#include "tests/game/app/HudFixture.h"
#include "tests/support/SdlEvents.h"

namespace apptest {

class TableInputFixture : public HudFixture {
protected:
    using Karte = Solitaire::Karte;
    using Kartenstapel = Solitaire::Kartenstapel;

    static constexpr double kFrame = 0.02;
    static constexpr Orvex::u32 kFrameMs = 20;
    // The card's tooltip shows after the hover pass (0.1 s) and the tooltip's delay (1 s).
    static constexpr int kMostRestFrames = 150;

    void SetUp() override {
        HudFixture::SetUp();
        cards().setClock([this] { return tick; });
    }
    void TearDown() override {
        cards().setClock({});
        HudFixture::TearDown();
    }
    // The game started again on a window of another size.
    void restartAt(unsigned w, unsigned h) {
        TearDown();
        startHud(w, h);
        cards().setClock([this] { return tick; });
    }

    // A free game of the catalogue started as the free-play screen starts it (its panel over the
    // table included), dealt from the seed and landed.
    void startFreeGame(wchar_t const* gameName, wchar_t const* variant, std::wstring const& seed,
                       wchar_t const* category = L"KLASSIKER") {
        ASSERT_TRUE(catalogue().setCurrentByNames(category, gameName, variant));
        ASSERT_EQ(game->startGame(false, false, seed, true, true), Solitaire::RunningGame::kGameStarted);
        frames(120);
    }

    // ---- the player's events: one frame after each ----
    Uint32 windowId() const {
        return SDL_GetWindowID(port::win32::sdlWindow(Orvex::D3DInterface::getInstance().getWindow().getHWND()));
    }
    void nextFrame() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        game->pollInput();
        tick += kFrameMs;
        step(kFrame);
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) nextFrame();
    }
    void moveTo(D3DXVECTOR2 p) {
        testsupport::pushMotion(windowId(), pixel(p.x), pixel(p.y));
        nextFrame();
    }
    void button(D3DXVECTOR2 p, bool down, Uint8 which = SDL_BUTTON_LEFT) {
        testsupport::pushButton(windowId(), which, down, pixel(p.x), pixel(p.y));
        nextFrame();
    }
    void clickAt(D3DXVECTOR2 p) {
        button(p, true);
        button(p, false);
    }
    // Both clicks queued at once: the window system pairs them by its own clock (500 ms), which a
    // slow build's frames must not stretch.
    void doubleClickAt(D3DXVECTOR2 p) {
        for (bool down : {true, false, true, false})
            testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, down, pixel(p.x), pixel(p.y));
        nextFrame();
        nextFrame();
    }
    // A double click as a hand makes it: the second press a frame after the first (20 ms, within
    // the window system's pairing time), so the table sees the first press and its release before
    // the second press, which comes as a press and as the double click.
    void doubleClickOverFrames(D3DXVECTOR2 p) {
        for (int click = 0; click < 2; ++click) {
            testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, true, pixel(p.x), pixel(p.y));
            testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, false, pixel(p.x), pixel(p.y));
            nextFrame();
        }
        nextFrame();
    }
    // The pointer to p and left there until the tooltip shows; false when it never does.
    bool restOn(D3DXVECTOR2 p) {
        moveTo(p);
        for (int i = 0; i < kMostRestFrames; ++i) {
            if (tooltip()->isShown()) return true;
            nextFrame();
        }
        return false;
    }
    static int pixel(float v) { return static_cast<int>(std::lround(v)); }

    // ---- what the screen shows ----
    static Orvex::GUITooltip* tooltip() {
        auto* shown = dynamic_cast<Orvex::GUITooltip*>(find(L"TOOLTIP"));
        EXPECT_NE(shown, nullptr);
        return shown;
    }
    static std::wstring tooltipText() {
        Orvex::GUITooltip* t = tooltip();
        return t && t->isShown() && t->getLabel() ? t->getLabel()->getText() : L"(no tooltip)";
    }
    static std::wstring describe(Karte& card) {
        std::wstring text;
        Solitaire::describe(card, text, true, false, false);
        return text;
    }
    // A card's or pile's rectangle in window pixels.
    Orvex::FRect windowRect(Orvex::FRect const& view) const {
        D3DXVECTOR2 const a = game->getRenderer()->toWindowPoint(D3DXVECTOR2(view.left, view.top));
        D3DXVECTOR2 const b = game->getRenderer()->toWindowPoint(D3DXVECTOR2(view.right, view.bottom));
        return Orvex::FRect(a.x, a.y, b.x, b.y);
    }
    Orvex::FRect rectOf(Karte const& card) const {
        return windowRect(Solitaire::computeScreenRect(card, game->getCamera()));
    }
    Orvex::FRect rectOf(Kartenstapel const& pile) const {
        return windowRect(Solitaire::computeScreenRect(pile, game->getCamera()));
    }
    // The point at fractions (u, v) of a rectangle.
    static D3DXVECTOR2 at(Orvex::FRect const& r, float u = 0.5f, float v = 0.5f) {
        return D3DXVECTOR2(r.left + (r.right - r.left) * u, r.top + (r.bottom - r.top) * v);
    }
    // A move of a face-up card between piles the hint list offers (the stock and its waste
    // aside), or none.
    static Solitaire::HintRecord const* cardMove() {
        for (Solitaire::HintRecord const& hint : cards().getHints())
            if (hint.isMove && hint.card && hint.card->isFaceUp() && hint.sourcePile && hint.targetPile &&
                hint.sourcePile != hint.targetPile && hint.sourcePile->getName() != L"STAPEL_MUELL")
                return &hint;
        return nullptr;
    }
    // The first seed from 1 whose deal offers such a move.
    void startWithACardMove(wchar_t const* gameName) {
        for (int seed = 1; seed <= 40; ++seed) {
            startFreeGame(gameName, gameName, std::to_wstring(seed));
            if (cardMove()) return;
        }
        FAIL() << "no deal offers a move of a face-up card";
    }
    // Whether a card wears the marks of a shown hint.
    static bool hintShown() {
        for (Karte* each : cards().cards)
            if (each->getMarkState() & (Solitaire::kMarkTip1 | Solitaire::kMarkTip2)) return true;
        return false;
    }
    // Presses where nothing lies until the panels over the table are gone.
    void dismissPanelsAt(D3DXVECTOR2 empty) {
        for (int i = 0; i < 3 && (game->getHud().getGameNameBlend().target > 0.5f || game->getHud().getHelpBlend().target > 0.5f); ++i)
            clickAt(empty);
    }
    // A point of the table with neither card nor pile, between the HUD's top strip and its
    // bottom panel.
    D3DXVECTOR2 emptyTablePoint() const {
        float const w = static_cast<float>(width), h = static_cast<float>(height);
        for (float y = h * 0.15f; y < h * 0.7f; y += 8.0f)
            for (float x = w * 0.05f; x < w * 0.95f; x += 8.0f) {
                D3DXVECTOR2 const p(x, y);
                Karte* card = nullptr;
                Kartenstapel* pile = nullptr;
                D3DXVECTOR2 const inView = game->getRenderer()->toGamePoint(p);
                if (cards().pickAt(inView, card, pile) == Solitaire::kPickNothing) return p;
            }
        ADD_FAILURE() << "no empty point on the table";
        return D3DXVECTOR2(0.0f, 0.0f);
    }

    Orvex::u32 tick = 100000;
};

}  // namespace apptest
