// The mini-game "MEMORY": pairs of cards lie face down in a grid on the playing field. A click
// turns a card; two cards of one pair stay face up and leave the game, two different cards are
// shown for two seconds (or until the next click) and then turned back. Every pair found solves
// the game. The two cards of a pair may show different fronts (a picture and its word).
//
// Keys beside the base's: "SPALTEN" (columns of the grid, 1 by default; the rows are as many as
// the cards need), "MEMORY_TEIL" children, one pair each, with "ANIMATION" (the front),
// "ANIMATION_2" (the second card's front, when it differs) and "ANIMATION_BACK". Windows: prefix
// + "MEMORY_" + "FENSTER", "SPIELFELD", "VG" (the foreground with the buttons and the timer bars,
// optional), "CANCEL", "HILFE". The field's height is that of columns : rows divided by the first
// pair's picture proportions (getPictureAspect), so every cell has the proportions of the card
// pictures and they are drawn undistorted; square pictures give square cells.
// Signals: moveMade for a pair found, moveWrong for two different cards.
//
// Each start deals the cards anew, shuffled by the runtime's generator as the standard library's
// random_shuffle does it. A pair's id is its template's number, counted over every template the
// program reads.
//
// Where the plain rules would go wrong: a definition without "MEMORY_TEIL" could never be solved
// and is refused (one log line; no window, so it can only be skipped); "SPALTEN" below 1 would
// divide by 0 and reads as 1 (at most kMaxColumns), with a log line.
#pragma once

#include <memory>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/Minispiel.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Memory : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"MEMORY_";
    static constexpr std::size_t kMaxPairs = 64;
    static constexpr int kMaxColumns = 32;
    // How long two different cards stay face up.
    static constexpr float kWrongPairTime = 2.0f;

    class Teil {
    public:
        // A template: the pair's id and its three pictures (each an own copy, null when absent).
        Teil(Orvex::XMLNode& node, int pairId);
        // A card of the template's pair: its own copies of the pictures.
        Teil(Teil const& card, bool secondFace);
        ~Teil();
        Teil(Teil const&) = delete;
        Teil& operator=(Teil const&) = delete;

        // The picture shown: face up the (second) front, else the back; null when absent.
        Orvex::Texture2DAnimation* shownPicture() const;
        void update(double dt);

        int pairId = 0;
        Orvex::CountedRef<Orvex::Texture2DAnimation> front;
        Orvex::CountedRef<Orvex::Texture2DAnimation> secondFront;
        Orvex::CountedRef<Orvex::Texture2DAnimation> back;
        bool secondFace = false;
        Orvex::FRect cell;
        bool faceUp = false;
    };

    explicit Memory(Orvex::XMLNode& element);
    ~Memory() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // ---- slots ----
    void onSpielClicked(Orvex::GUIWindow& clicked);
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // The card's box in screen pixels (cell: fractions of the field).
    Orvex::SpriteRect getCardRect(Orvex::FRect const& cell) const;
    // Width / height of the current frame of the card's front, else of its back; 1 with neither
    // (or a frame without height).
    static float getPictureAspect(Teil const& card);

    std::vector<std::unique_ptr<Teil>> const& getCards() const { return cards_; }
    std::vector<Teil*> const& getUnfound() const { return unfound_; }
    Teil* getFirst() const { return first_; }
    Teil* getSecond() const { return second_; }
    Orvex::GUIWindow* getField() const { return field_; }
    int getColumns() const { return columns_; }
    int getRows() const { return rows_; }
    bool isPlayable() const { return !templates_.empty(); }

private:
    // Both turned cards face down, none turned.
    void turnBack();
    // The smallest whole number of rows that holds the cards.
    int rowsFor(std::size_t cards) const;

    Orvex::GUIWindow* field_ = nullptr;
    std::vector<std::unique_ptr<Teil>> templates_;
    std::vector<std::unique_ptr<Teil>> cards_;
    std::vector<Teil*> unfound_;
    Teil* first_ = nullptr;
    Teil* second_ = nullptr;
    float wrongPairTimer_ = 0.0f;
    int columns_ = 1;
    int rows_ = 0;
};

}  // namespace Solitaire
