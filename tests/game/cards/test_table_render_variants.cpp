// Every shipped variant dealt and drawn at 1280 x 720 with the shipped style, each frame written
// as a screenshot PNG into the build folder (table_<variant>.png) for a look: the faces show on
// white paper where the pile asks for no shade, and the shade where it does; "Paare" shows which
// cards are free and where its empty discard is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/cards/CardDrawing.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/Style.h"
#include "port/d3dx9/d3dx9tex.h"
#include "port/win32/win32_text.h"
#include "tests/game/cards/ShippedVariants.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A face-up card drawn as its face alone: no lock, key, joker, wildcard, extra or mark on it.
bool plainFace(Karte const& card) {
    D3DXVECTOR4 const none(0.0f, 0.0f, 0.0f, 0.0f);
    return card.isFaceUp() && !card.isJoker && !card.isWildcard && !card.specialFlag && !card.overlayFlag &&
           card.highlightLevel == 0 && card.suit != Karte::kSuitExtra && card.keys.current == none &&
           card.locks.current == none;
}

bool overlap(Orvex::FRect const& a, Orvex::FRect const& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class ShippedTableTest : public styletest::TableRenderTest {
protected:
    ShippedTableTest() {
        screenW = 1280;
        screenH = 720;
    }
    uint32_t pixel(std::vector<uint32_t> const& frame, D3DXVECTOR2 const& p) const {
        return frame[static_cast<std::size_t>(p.y) * screenW + static_cast<std::size_t>(p.x)];
    }
    // The back buffer as it stands after drawFrame, as a PNG in the test's working folder.
    void writeScreenshot(std::string const& file) {
        IDirect3DSurface9* back = nullptr;
        device()->GetRenderTarget(0, &back);
        ASSERT_NE(back, nullptr);
        std::wstring const path = port::fromUtf8((std::filesystem::current_path() / file).string());
        EXPECT_EQ(D3DXSaveSurfaceToFile(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr), S_OK);
        back->Release();
    }
    // The middle of the card's top margin, a sixteenth down its face: paper on every face.
    D3DXVECTOR2 marginOf(Karte const& card) const {
        Orvex::FRect const r = computeScreenRect(card, &camera);
        return {r.left + 0.5f * (r.right - r.left), r.top + 0.06f * (r.bottom - r.top)};
    }
    // The card that picking finds at p (the one seen there), or null.
    Karte* seenAt(D3DXVECTOR2 const& p) {
        Karte* card = nullptr;
        Kartenstapel* pile = nullptr;
        return manager().pickAt(p, card, pile, {}) == 3 ? card : nullptr;
    }
    // A point of the two rectangles' overlap that both cards, turned as they lie, cover: the
    // first of a grid over the overlap, its middle first.
    std::optional<D3DXVECTOR2> sharedPoint(Karte const& one, Karte const& two, Orvex::FRect const& a,
                                           Orvex::FRect const& b) const {
        float const left = std::max(a.left, b.left), right = std::min(a.right, b.right);
        float const top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
        constexpr int kSteps = 8;
        // From the middle outwards: 4, 5, 3, 6, 2 ...
        auto const at = [](int k) { return kSteps / 2 + (k % 2 ? (k + 1) / 2 : -(k / 2)); };
        for (int i = 0; i <= kSteps; ++i)
            for (int j = 0; j <= kSteps; ++j) {
                float const u = static_cast<float>(at(i)) / kSteps, v = static_cast<float>(at(j)) / kSteps;
                D3DXVECTOR2 const p(left + (right - left) * u, top + (bottom - top) * v);
                if (hitMeasure(one, &camera, p) > 0.0f && hitMeasure(two, &camera, p) > 0.0f) return p;
            }
        return std::nullopt;
    }
    // Every card of the table with its pile.
    std::vector<std::pair<Karte*, Kartenstapel*>> cardsOnPiles() const {
        std::vector<std::pair<Karte*, Kartenstapel*>> out;
        for (Kartenstapel* pile : manager().piles) {
            std::vector<Karte*> held;
            pile->getCards(held, true, true);
            for (Karte* card : held) out.emplace_back(card, pile);
        }
        return out;
    }
};

// The top margin of every plain face that is seen there is white paper times the pile's tint,
// which is white unless the pile names a shade; a pile asking for the shade shows it.
TEST_F(ShippedTableTest, EveryVariantShowsItsFacesOnWhitePaper) {
    Style const& style = *StyleSettings::instance().getStyle();
    D3DXCOLOR const& shade = style.shadingColour(1);
    EXPECT_LT(shade.r, 0.9f) << "the style keeps a shade for piles that ask for it";
    for (std::wstring const& file : cardtest::shippedVariants()) {
        std::string const variant = cardtest::variantName(file);
        SCOPED_TRACE(variant);
        deal(file);
        std::vector<uint32_t> const frame = drawFrame();
        writeScreenshot("table_" + variant + ".png");
        int white = 0;
        for (auto const& [card, pile] : cardsOnPiles()) {
            if (!plainFace(*card)) continue;
            D3DXVECTOR2 const p = marginOf(*card);
            if (p.x < 0 || p.y < 0 || p.x >= screenW || p.y >= screenH || seenAt(p) != card) continue;
            D3DXCOLOR const& k = style.shadingColour(pile->rules.shading);
            uint32_t const want = pile->rules.shading == 0 ? kWhite : toColour(D3DXCOLOR(k.r, k.g, k.b, 1.0f));
            EXPECT_TRUE(testsupport::colorNear(pixel(frame, p), want, 3)) << std::hex << pixel(frame, p);
            white += pile->rules.shading == 0;
        }
        EXPECT_GE(white, 1);
    }
    // A pile that asks for the shade draws its faces in it.
    deal(cardtest::variantFile(L"Goldrausch"));
    for (Kartenstapel* pile : manager().piles) pile->rules.shading = 1;
    std::vector<uint32_t> const shaded = drawFrame();
    int seen = 0;
    for (auto const& [card, pile] : cardsOnPiles()) {
        D3DXVECTOR2 const p = marginOf(*card);
        if (!plainFace(*card) || seenAt(p) != card) continue;
        EXPECT_TRUE(testsupport::colorNear(pixel(shaded, p), toColour(D3DXCOLOR(shade.r, shade.g, shade.b, 1.0f)), 3));
        ++seen;
    }
    EXPECT_GE(seen, 1);
}

// "Paare" and its locked copy show which cards of their seven piles ("REIHE1" .. "REIHE7") are
// free: a card that no other card is drawn over (another card seen at a point both turned cards
// cover) is one the rules let the player pick up, and a card the rules let be picked up lies under
// no other card; each pile shows one free card. Checked on the dealt table and again after every
// pile has given up its last card.
TEST_F(ShippedTableTest, PaareShowsWhichCardsAreFree) {
    for (wchar_t const* name : {L"Paare", L"PaareKupfer"}) {
        SCOPED_TRACE(cardtest::variantName(cardtest::variantFile(name)));
        deal(cardtest::variantFile(name));
        Kartenstapel* discard = manager().findPile(L"STAPEL_ABLAGE");
        ASSERT_NE(discard, nullptr);
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round == 0 ? "as dealt" : "each pile's last card gone");
            drawFrame();
            std::vector<std::pair<Karte*, Kartenstapel*>> const cards = cardsOnPiles();
            int rowCards = 0, looksFree = 0, looksFreeButRefused = 0, takenThoughCovered = 0;
            for (auto const& [card, pile] : cards) {
                if (pile->getName().rfind(L"REIHE", 0) != 0) continue;
                ++rowCards;
                Orvex::FRect const r = computeScreenRect(*card, &camera);
                bool covered = false;
                for (auto const& [other, otherPile] : cards) {
                    if (other == card || covered) continue;
                    Orvex::FRect const o = computeScreenRect(*other, &camera);
                    if (!overlap(r, o)) continue;
                    std::optional<D3DXVECTOR2> const p = sharedPoint(*card, *other, r, o);
                    covered = p && seenAt(*p) != card;
                }
                bool const takable = pile->canPickCard(card);
                looksFree += !covered;
                looksFreeButRefused += !covered && !takable;
                takenThoughCovered += covered && takable;
            }
            EXPECT_EQ(rowCards, round == 0 ? 28 : 21);
            EXPECT_EQ(looksFree, round == 0 ? 7 : 6) << "one free card a pile";
            EXPECT_EQ(looksFreeButRefused, 0) << "cards that look free but are refused";
            EXPECT_EQ(takenThoughCovered, 0) << "cards taken though drawn under another";
            if (round == 1) break;
            // Each pile's last card to the discard, the piles laid out again.
            for (int row = 1; row <= 7; ++row) {
                Kartenstapel* pile = manager().findPile(L"REIHE" + std::to_wstring(row));
                ASSERT_NE(pile, nullptr);
                Karte* last = pile->getTopCard();
                ASSERT_NE(last, nullptr);
                ASSERT_TRUE(pile->removeCard(last, true));
                discard->addCard(last, nullptr, true, false);
                pile->arrange(0.0f);
            }
            discard->arrange(0.0f);
            for (int i = 0; i < 120; ++i) manager().update(1.0 / 60.0, 1.0 / 60.0, Orvex::MouseState());
        }
    }
}

// The empty discard of "Paare" shows where it is: the rim of its place, at the middle of each
// edge, is drawn lighter than the bare table.
TEST_F(ShippedTableTest, PaareShowsItsEmptyDiscard) {
    auto const light = [](uint32_t c) { return int((c >> 16) & 0xFF) + int((c >> 8) & 0xFF) + int(c & 0xFF); };
    deal(cardtest::variantFile(L"Paare"));
    Kartenstapel* discard = manager().findPile(L"STAPEL_ABLAGE");
    ASSERT_TRUE(discard && discard->getCardsWithLinked().empty());
    std::vector<uint32_t> const shown = drawFrame();
    discard->rules.drawPile = false;
    std::vector<uint32_t> const bare = drawFrame();
    Orvex::FRect const r = computeScreenRect(*discard, &camera);
    float const x = (r.left + r.right) * 0.5f, y = (r.top + r.bottom) * 0.5f;
    // Two pixels inside each edge, on the rim of the place picture.
    for (D3DXVECTOR2 const p : {D3DXVECTOR2(r.left + 2, y), D3DXVECTOR2(r.right - 2, y), D3DXVECTOR2(x, r.top + 2),
                                D3DXVECTOR2(x, r.bottom - 2)})
        EXPECT_GE(light(pixel(shown, p)) - light(pixel(bare, p)), 90) << p.x << ", " << p.y;
}

}  // namespace
}  // namespace Solitaire
