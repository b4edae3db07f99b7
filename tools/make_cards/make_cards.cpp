// make_cards: draws the shipped card set and table backgrounds and writes their files.
//   make_cards FONT.ttf FOLDER   writes into FOLDER the PNG pictures, the card-set file
//                                Classic.kset naming them, and the background file Tisch.bkg
// Every picture is made of simple shapes and text; the same input gives the same bytes.
// Exit status: 0 on success, 1 when the font or a file fails, 2 on wrong usage.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/make_cards/Canvas.h"

namespace {

using cards::Canvas;
using cards::Colour;

constexpr int kCardWidth = 200;
constexpr int kCardHeight = 275;
constexpr float kCorner = 14.0f;
constexpr int kIconSize = 64;
constexpr int kBackgroundSize = 256;

char const* const kSuits[4] = {"KREUZ", "KARO", "PIK", "HERZ"};
char const* const kValues[13] = {"ASS", "2", "3", "4", "5", "6", "7", "8", "9", "10", "BUBE", "DAME", "KOENIG"};
char const* const kValueLabels[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "B", "D", "K"};

constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kBorder{60, 60, 60, 255};
constexpr Colour kBlack{25, 25, 25, 255};
constexpr Colour kRed{200, 30, 40, 255};
constexpr Colour kGold{215, 170, 40, 255};
constexpr Colour kHint{255, 255, 255, 110};
constexpr Colour kIconColours[4] = {
    {215, 170, 40, 255}, {190, 195, 205, 255}, {190, 105, 50, 255}, {60, 120, 220, 255}};

struct Output {
    std::filesystem::path folder;
    FT_Face font = nullptr;
    std::vector<std::string> textures;  // in file order
    bool ok = true;

    void save(Canvas const& canvas, std::string const& name) {
        if (!canvas.savePng((folder / (name + ".png")).string())) {
            std::fprintf(stderr, "make_cards: cannot write %s.png\n", name.c_str());
            ok = false;
        }
        textures.push_back(name);
    }
};

Colour suitColour(int suit) { return suit % 2 ? kRed : kBlack; }

// A white card with a dark rim.
Canvas blankCard(Colour inside = kWhite) {
    Canvas card(kCardWidth, kCardHeight);
    card.fill(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner), kBorder);
    card.fill(cards::roundedRect(3, 3, kCardWidth - 3, kCardHeight - 3, kCorner - 3), inside);
    return card;
}

void face(Output& out, int suit, int value) {
    Canvas card = blankCard();
    Colour const colour = suitColour(suit);
    // Corner: value over a small suit, repeated turned in the opposite corner.
    card.text(out.font, kValueLabels[value], 24, 28, 34, colour);
    card.fill(cards::suitShape(suit, 24, 62, 26), colour);
    card.mirrorCorner(48, 80);
    float const cx = kCardWidth / 2.0f, cy = kCardHeight / 2.0f;
    if (value >= 10) {
        card.fill(cards::roundedRect(48, 60, 152, 215, 6), colour);
        card.fill(cards::roundedRect(52, 64, 148, 211, 4), kWhite);
        card.text(out.font, kValueLabels[value], cx, cy - 18, 64, colour);
        card.fill(cards::suitShape(suit, cx, cy + 42, 40), colour);
    } else {
        card.fill(cards::suitShape(suit, cx, cy, value == 0 ? 120.0f : 84.0f), colour);
    }
    out.save(card, std::string(kSuits[suit]) + "_" + kValues[value]);
}

void back(Output& out, int number, Colour fill, Colour stripe) {
    Canvas card = blankCard(fill);
    card.fill(
        [](float x, float y) {
            return x > 14 && x < kCardWidth - 14 && y > 14 && y < kCardHeight - 14 &&
                   (static_cast<int>(x + y) % 20 < 4 || static_cast<int>(x - y + 400) % 20 < 4);
        },
        stripe);
    out.save(card, "BACK_" + std::to_string(number));
}

void labelledCard(Output& out, std::string const& name, Colour inside, std::string const& label, Colour ink,
                  int textHeight, bool withStar) {
    Canvas card = blankCard(inside);
    if (withStar) card.fill(cards::star(kCardWidth / 2.0f, 170, 50, 20), ink);
    card.text(out.font, label, kCardWidth / 2.0f, withStar ? 90.0f : kCardHeight / 2.0f, textHeight, ink);
    out.save(card, name);
}

// The wildcard's mark, drawn over the face of the card it stands for (the table and the shop draw
// the face first): a purple rim, a star in the top-right corner and "WILD" along the foot, so the
// card's own value and suit stay in sight.
void wildcardMark(Output& out) {
    Colour const ink{120, 40, 170, 255};
    Canvas card(kCardWidth, kCardHeight);
    card.fill(cards::subtract(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner),
                              cards::roundedRect(7, 7, kCardWidth - 7, kCardHeight - 7, kCorner - 7)),
              ink);
    card.fill(cards::star(kCardWidth - 34.0f, 36, 24, 10), ink);
    card.fill(cards::roundedRect(14, kCardHeight - 48, 140, kCardHeight - 14, 8), {255, 255, 255, 210});
    card.text(out.font, "WILD", 77, kCardHeight - 31.0f, 26, ink);
    out.save(card, "WILDCARD");
}

void outline(Output& out, std::string const& name, Colour colour, float width) {
    Canvas card(kCardWidth, kCardHeight);
    card.fill(
        cards::subtract(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner),
                        cards::roundedRect(width, width, kCardWidth - width, kCardHeight - width, kCorner - width)),
        colour);
    out.save(card, name);
}

void pilePicture(Output& out, std::string const& word) {
    Canvas card(kCardWidth, kCardHeight);
    card.fill(cards::subtract(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner),
                              cards::roundedRect(4, 4, kCardWidth - 4, kCardHeight - 4, kCorner - 4)),
              kHint);
    card.text(out.font, word, kCardWidth / 2.0f, kCardHeight / 2.0f, 24, kHint);
    out.save(card, "STAPEL_" + word);
}

// Marker of what an empty pile accepts: a suit, several suits or a value.
void acceptsPicture(Output& out, std::string const& word, int suit, std::string const& label) {
    Canvas card(kCardWidth, kCardHeight);
    float const cx = kCardWidth / 2.0f, cy = kCardHeight / 2.0f;
    if (suit >= 0 && suit < 4) card.fill(cards::suitShape(suit, cx, cy, 90), kHint);
    if (suit == 4)
        for (int s = 0; s < 4; ++s)
            card.fill(cards::suitShape(s, cx + (s % 2 ? 28.0f : -28.0f), cy + (s / 2 ? 30.0f : -30.0f), 44), kHint);
    if (!label.empty()) card.text(out.font, label, cx, cy, 64, kHint);
    if (suit < 0 && label.empty()) card.fill(cards::ring(cx, cy, 40, 32), kHint);
    out.save(card, "ACCEPTS_" + word);
}

void keyIcon(Output& out, int i) {
    Canvas icon(kIconSize, kIconSize);
    Colour const c = kIconColours[i];
    icon.fill(cards::unite({cards::ring(18, 32, 13, 6), cards::roundedRect(28, 29, 58, 35, 1),
                            cards::roundedRect(46, 35, 51, 44, 1), cards::roundedRect(53, 35, 58, 41, 1)}),
              c);
    out.save(icon, "KEY_" + std::to_string(i));
}

void lockIcon(Output& out, int i) {
    Canvas icon(kIconSize, kIconSize);
    Colour const c = kIconColours[i];
    icon.fill(cards::unite({cards::subtract(cards::ring(32, 26, 16, 10), [](float, float y) { return y > 26; }),
                            cards::roundedRect(12, 28, 52, 58, 4)}),
              c);
    icon.fill(cards::unite({cards::circle(32, 40, 5), cards::roundedRect(30, 40, 34, 50, 1)}), kBlack);
    out.save(icon, "LOCK_" + std::to_string(i));
}

void background(Output& out, int number, Colour base, Colour pattern) {
    Canvas table(kBackgroundSize, kBackgroundSize);
    table.fill([](float, float) { return true; }, base);
    table.fill([](float x, float y) { return (static_cast<int>(x) / 16 + static_cast<int>(y) / 16) % 2 == 0; },
               pattern);
    out.save(table, "BACKGROUND_" + std::to_string(number));
}

bool writeText(std::filesystem::path const& path, std::string const& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

// The texture elements of the names that start with prefix (wanted) or do not (otherwise).
std::string textureList(std::vector<std::string> const& names, std::string const& prefix, bool wanted) {
    std::string text;
    for (std::string const& name : names) {
        if ((name.rfind(prefix, 0) == 0) != wanted) continue;
        text += "\t<TEXTUR2D NAME=\"" + name + "\">\r\n\t\t<FILE FILENAME=\"data\\Cards\\" + name +
                ".png\"/>\r\n\t</TEXTUR2D>\r\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_cards FONT.ttf FOLDER\n");
        return 2;
    }
    Output out;
    out.folder = argv[2];
    std::error_code error;
    std::filesystem::create_directories(out.folder, error);
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &out.font)) {
        std::fprintf(stderr, "make_cards: cannot read the font %s\n", argv[1]);
        return 1;
    }
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value) face(out, suit, value);
    back(out, 1, {30, 60, 130, 255}, {70, 110, 190, 255});
    back(out, 2, {130, 30, 45, 255}, {190, 70, 80, 255});
    Canvas shape(kCardWidth, kCardHeight);
    shape.fill(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner), kWhite);
    out.save(shape, "SHAPE");
    outline(out, "MARK", {255, 255, 255, 220}, 8);
    outline(out, "PAIRS_SELECTION", {120, 230, 255, 220}, 5);
    Canvas invalid(kCardWidth, kCardHeight);
    invalid.fill(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner), {200, 30, 40, 90});
    invalid.fill(cards::unite({cards::polygon({{40, 60}, {56, 44}, {160, 215}, {144, 231}}),
                               cards::polygon({{144, 44}, {160, 60}, {56, 231}, {40, 215}})}),
                 {200, 30, 40, 220});
    out.save(invalid, "INVALID");
    wildcardMark(out);
    labelledCard(out, "JOKER", kWhite, "JOKER", {30, 130, 60, 255}, 40, true);
    for (int i = 0; i < 3; ++i)
        labelledCard(out, "EXTRA_" + std::to_string(i), kGold, "EXTRA " + std::to_string(i + 1), kBlack, 30, true);
    for (int i = 0; i < 4; ++i) keyIcon(out, i);
    for (int i = 0; i < 4; ++i) lockIcon(out, i);
    for (char const* word : {"VORRAT", "MUELL", "BASIS", "TABLEAU", "FAECHER", "ABLAGE", "RESERVE"})
        pilePicture(out, word);
    for (int suit = 0; suit < 4; ++suit) acceptsPicture(out, kSuits[suit], suit, "");
    acceptsPicture(out, "ALL_F", 4, "");
    for (int value = 0; value < 13; ++value) acceptsPicture(out, kValues[value], -1, kValueLabels[value]);
    acceptsPicture(out, "ALL_W", -1, "A-K");
    acceptsPicture(out, "", -1, "");
    background(out, 1, {25, 90, 50, 255}, {30, 100, 56, 255});
    background(out, 2, {25, 55, 95, 255}, {30, 62, 106, 255});

    out.ok = writeText(out.folder / "Classic.kset",
                       "<KARTENSET NAME=\"CLASSIC\" KARTEN_SIZE=\"200 275\" USE_TEXTURE_CHECK=\"1\">\r\n"
                       "\t<KARTENSET_SETS>\"|STANDARD|\" \"|CLASSIC|\"</KARTENSET_SETS>\r\n" +
                           textureList(out.textures, "BACKGROUND_", false) + "</KARTENSET>\r\n") &&
             out.ok;
    out.ok =
        writeText(out.folder / "Tisch.bkg", "<BACKGROUND NAME=\"TISCH\">\r\n" +
                                                textureList(out.textures, "BACKGROUND_", true) + "</BACKGROUND>\r\n") &&
        out.ok;
    FT_Done_Face(out.font);
    FT_Done_FreeType(library);
    return out.ok ? 0 : 1;
}
