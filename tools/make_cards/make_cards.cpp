// make_cards: draws the shipped card set and table backgrounds and writes their files.
//   make_cards FONT.ttf FOLDER   writes into FOLDER the PNG pictures, the card-set file
//                                Classic.kset naming them, and the background file Tisch.bkg
// Every picture is made of simple shapes and text (the corner indices only): faces with their pips
// laid as on printed cards, court figures turned about the middle, a jester for the joker, marks
// for the empty places. The same input gives the same bytes.
// Exit status: 0 on success, 1 when the font or a file fails, 2 on wrong usage.
#include <cmath>
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

// Pip places of the values 2 .. 10 as on a printed card: three columns, four rows and the
// middle. Pips of the upper half that have a partner turned by 180 degrees are drawn once and the
// half is mirrored; the others (the middle row, the extra pip of a seven) stand upright.
struct Pip {
    float x, y;
};
constexpr float kColL = 66.0f, kColM = 100.0f, kColR = 134.0f;
constexpr float kRow0 = 58.0f, kRow1 = 111.0f, kRowMid = kCardHeight / 2.0f, kRow2 = 164.0f, kRow3 = 217.0f;
constexpr float kPipSize = 38.0f;
// The upper half that the mirror turns into the lower one, and the middle row it leaves.
constexpr int kUpperHalf = kCardHeight / 2;

std::vector<Pip> pipLayout(int value) {
    std::vector<Pip> const corners = {{kColL, kRow0}, {kColR, kRow0}, {kColL, kRow3}, {kColR, kRow3}};
    std::vector<Pip> pips;
    auto add = [&pips](std::vector<Pip> const& more) { pips.insert(pips.end(), more.begin(), more.end()); };
    switch (value + 1) {
        case 2: add({{kColM, kRow0}, {kColM, kRow3}}); break;
        case 3: add({{kColM, kRow0}, {kColM, kRowMid}, {kColM, kRow3}}); break;
        case 4: add(corners); break;
        case 5: add(corners), add({{kColM, kRowMid}}); break;
        case 6: add(corners), add({{kColL, kRowMid}, {kColR, kRowMid}}); break;
        case 7: add(corners), add({{kColL, kRowMid}, {kColR, kRowMid}, {kColM, (kRow0 + kRowMid) / 2}}); break;
        case 8:
            add(corners), add({{kColL, kRowMid}, {kColR, kRowMid}, {kColM, (kRow0 + kRowMid) / 2},
                               {kColM, kCardHeight - (kRow0 + kRowMid) / 2}});
            break;
        case 9: add(corners), add({{kColL, kRow1}, {kColR, kRow1}, {kColL, kRow2}, {kColR, kRow2}, {kColM, kRowMid}}); break;
        default:
            add(corners), add({{kColL, kRow1}, {kColR, kRow1}, {kColL, kRow2}, {kColR, kRow2},
                               {kColM, (kRow0 + kRow1) / 2}, {kColM, kCardHeight - (kRow0 + kRow1) / 2}});
            break;
    }
    return pips;
}

// True for a pip above the middle row whose turned partner is in the layout.
bool hasTurnedPartner(std::vector<Pip> const& pips, Pip const& p) {
    if (std::fabs(p.y - kRowMid) < 1.0f) return false;
    for (Pip const& q : pips)
        if (std::fabs(q.x - (kCardWidth - p.x)) < 1.0f && std::fabs(q.y - (kCardHeight - p.y)) < 1.0f) return true;
    return false;
}

// The corner index: the value over a small suit, top left (the mirror turns it into the other).
void cornerIndex(Output& out, Canvas& card, int suit, int value) {
    Colour const colour = suitColour(suit);
    card.text(out.font, kValueLabels[value], 22, 28, 34, colour);
    card.fill(cards::suitShape(suit, 22, 62, 26), colour);
}

void pipFace(Output& out, Canvas& card, int suit, int value) {
    Colour const colour = suitColour(suit);
    cornerIndex(out, card, suit, value);
    if (value == 0) {
        card.mirrorCorner(48, 80);
        card.fill(cards::suitShape(suit, kCardWidth / 2.0f, kRowMid, 120.0f), colour);
        return;
    }
    std::vector<Pip> const pips = pipLayout(value);
    for (Pip const& p : pips)
        if (p.y < kRowMid && hasTurnedPartner(pips, p)) card.fill(cards::suitShape(suit, p.x, p.y, kPipSize), colour);
    card.mirrorCorner(kCardWidth, kUpperHalf);
    for (Pip const& p : pips)
        if (!hasTurnedPartner(pips, p)) card.fill(cards::suitShape(suit, p.x, p.y, kPipSize), colour);
}

// ---- court cards: a half figure in a frame, turned by 180 degrees below the middle line ----

constexpr Colour kCream{250, 245, 230, 255};
constexpr Colour kSkin{244, 210, 176, 255};
constexpr Colour kSkinShade{214, 168, 132, 255};
constexpr Colour kInk{45, 30, 30, 255};
constexpr Colour kLips{185, 55, 55, 255};
constexpr Colour kBlue{40, 80, 170, 255};
constexpr Colour kCourtRed{195, 35, 45, 255};
constexpr Colour kCourtBlack{40, 40, 50, 255};
constexpr Colour kLeaf{40, 130, 70, 255};
constexpr Colour kDarkGold{170, 125, 25, 255};
constexpr Colour kSilver{195, 200, 210, 255};
constexpr Colour kWood{125, 82, 40, 255};
constexpr Colour kHair[3] = {{120, 72, 35, 255}, {220, 170, 70, 255}, {90, 55, 30, 255}};  // Bube, Dame, König
constexpr Colour kBeard{228, 228, 232, 255};

struct CourtColours {
    Colour robe, trim;
};

CourtColours courtColours(int suit) {
    switch (suit) {
        case 0: return {kBlue, kGold};
        case 1: return {kCourtRed, kBlue};
        case 2: return {kCourtBlack, kGold};
        default: return {kCourtRed, kGold};
    }
}

// What the figure holds at its right: the Bube a spear, the Dame a flower, the König a sceptre.
void courtAttribute(Canvas& card, int rank) {
    if (rank == 0) {
        card.fill(cards::capsule(134, 137, 134, 60, 4), kWood);
        card.fill(cards::polygon({{134, 40}, {141, 60}, {134, 56}, {127, 60}}), kSilver);
    } else if (rank == 1) {
        card.fill(cards::capsule(130, 137, 128, 100, 3), kLeaf);
        card.fill(cards::ellipse(135, 116, 6, 3), kLeaf);
        for (int i = 0; i < 5; ++i) {
            float const a = static_cast<float>(i) * 1.2566371f - 1.5707963f;
            card.fill(cards::circle(128 + 6.0f * std::cos(a), 94 + 6.0f * std::sin(a), 4.5f), kCourtRed);
        }
        card.fill(cards::circle(128, 94, 3.5f), kGold);
    } else {
        card.fill(cards::capsule(130, 137, 130, 72, 4), kGold);
        card.fill(cards::circle(130, 66, 6.5f), kGold);
        card.fill(cards::capsule(130, 52, 130, 60, 2.5f), kDarkGold);
        card.fill(cards::capsule(126, 56, 134, 56, 2.5f), kDarkGold);
    }
}

void courtHead(Canvas& card, int rank, Colour trim, Colour robe) {
    Colour const hair = kHair[rank];
    if (rank == 1) card.fill(cards::ellipse(100, 72, 21, 25), hair);  // long hair behind
    if (rank == 0) card.fill(cards::unite({cards::ellipse(86, 67, 5, 10), cards::ellipse(114, 67, 5, 10)}), hair);
    card.fill(cards::roundedRect(93, 76, 107, 92, 2), kSkin);
    card.fill(cards::circle(100, 64, 15), kSkin);
    // Face: brows, eyes, nose, mouth.
    card.fill(cards::unite({cards::capsule(91, 57.5f, 97, 57, 1.6f), cards::capsule(103, 57, 109, 57.5f, 1.6f)}), hair);
    card.fill(cards::unite({cards::circle(94.5f, 61.5f, 1.9f), cards::circle(105.5f, 61.5f, 1.9f)}), kInk);
    card.fill(cards::capsule(100, 62, 98.5f, 68.5f, 1.6f), kSkinShade);
    if (rank == 2) {
        card.fill(cards::polygon({{85, 68}, {115, 68}, {112, 81}, {100, 89}, {88, 81}}), kBeard);
        card.fill(cards::ellipse(100, 70.5f, 8, 2.4f), kBeard);
    }
    card.fill(cards::ellipse(100, 73.5f, 4, 1.6f), kLips);
    // Headgear.
    if (rank == 0) {
        card.fill(cards::ellipse(100, 51, 16, 8), hair);
        // A feather in the cap.
        card.fill(cards::polygon({{92, 44}, {74, 30}, {64, 27}, {70, 36}, {86, 47}}), kCourtRed);
        card.fill(cards::capsule(89, 45, 68, 30, 1.2f), kCream);
        card.fill(cards::ellipse(100, 43, 14, 8), robe);
        card.fill(cards::ellipse(100, 49, 23, 5), robe);
        card.fill(cards::capsule(83, 48, 117, 48, 3), trim);
    } else if (rank == 1) {
        card.fill(cards::ellipse(100, 54, 17, 9), hair);
        card.fill(cards::polygon({{87, 50}, {113, 50}, {111, 42}, {105, 46}, {100, 36}, {95, 46}, {89, 42}}), kGold);
        card.fill(cards::circle(100, 46, 2.2f), robe);
    } else {
        card.fill(cards::ellipse(100, 54, 16, 7), hair);
        card.fill(cards::polygon({{84, 52}, {84, 34}, {92, 43}, {100, 28}, {108, 43}, {116, 34}, {116, 52}}), kGold);
        card.fill(cards::roundedRect(84, 46, 116, 53, 1), kDarkGold);
        card.fill(cards::unite({cards::circle(84, 33, 2.6f), cards::circle(100, 27, 2.6f), cards::circle(116, 33, 2.6f)}),
                  kGold);
        card.fill(cards::circle(100, 49.5f, 2.4f), kCourtRed);
    }
}

void courtFace(Output& out, Canvas& card, int suit, int value) {
    int const rank = value - 10;  // 0 Bube, 1 Dame, 2 König
    Colour const colour = suitColour(suit);
    CourtColours const c = courtColours(suit);
    cornerIndex(out, card, suit, value);
    card.fill(cards::roundedRect(40, 20, 160, 255, 6), colour);
    card.fill(cards::roundedRect(43, 23, 157, 252, 4), kCream);
    courtAttribute(card, rank);
    // Robe with a trimmed front and shoulders, the suit on a badge.
    card.fill(cards::polygon({{50, 137}, {150, 137}, {143, 104}, {122, 90}, {78, 90}, {57, 104}}), c.robe);
    card.fill(cards::unite({cards::capsule(58, 104, 78, 91, 4), cards::capsule(142, 104, 122, 91, 4),
                            cards::roundedRect(93, 92, 107, 137, 2)}),
              c.trim);
    card.fill(cards::unite({cards::circle(100, 104, 2.5f), cards::circle(100, 117, 2.5f), cards::circle(100, 130, 2.5f)}),
              c.robe);
    card.fill(cards::circle(74, 118, 12), kCream);
    card.fill(cards::suitShape(suit, 74, 118, 17), colour);
    card.fill(cards::ellipse(100, 91, 20, 6), c.trim);
    if (rank == 1) courtAttribute(card, rank);  // the flower is held in front
    courtHead(card, rank, c.trim, c.robe);
    card.fill(cards::suitShape(suit, 146, 38, 17), colour);
    card.mirrorCorner(kCardWidth, kUpperHalf);
    card.fill(cards::roundedRect(43, kUpperHalf - 1.0f, 157, kUpperHalf + 2.0f, 0), colour);
}

void face(Output& out, int suit, int value) {
    Canvas card = blankCard();
    if (value >= 10) courtFace(out, card, suit, value);
    else pipFace(out, card, suit, value);
    out.save(card, std::string(kSuits[suit]) + "_" + kValues[value]);
}

// ---- backs: a coloured card with a plain margin and a lighter motif over the panel inside it ----

constexpr float kBackMargin = 14.0f;
constexpr float kBackMiddleX = kCardWidth / 2.0f, kBackMiddleY = kCardHeight / 2.0f;
constexpr float kBackTurn = 6.28318531f;

bool inBackPanel(float x, float y) {
    return x > kBackMargin && x < kCardWidth - kBackMargin && y > kBackMargin && y < kCardHeight - kBackMargin;
}

// Diagonal lines both ways, 20 pixels apart.
bool lattice(float x, float y) {
    return static_cast<int>(x + y) % 20 < 4 || static_cast<int>(x - y + 400) % 20 < 4;
}

// Dots in rows, each row shifted by half a step, centred on the card.
bool staggeredDots(float x, float y) {
    constexpr float kStep = 15.0f, kRadius = 4.0f;
    float const row = std::round((y - kBackMiddleY) / kStep);
    float const shift = static_cast<int>(std::fabs(row)) % 2 ? kStep / 2.0f : 0.0f;
    float const col = std::round((x - kBackMiddleX - shift) / kStep);
    float const px = kBackMiddleX + shift + col * kStep, py = kBackMiddleY + row * kStep;
    // Whole dots only: none cut by the margin.
    if (!inBackPanel(px - kRadius - 1.0f, py - kRadius - 1.0f) || !inBackPanel(px + kRadius + 1.0f, py + kRadius + 1.0f))
        return false;
    return (x - px) * (x - px) + (y - py) * (y - py) <= kRadius * kRadius;
}

// Wavy lines across the card.
bool waves(float x, float y) {
    float const w = y - kBackMiddleY + 4.0f * std::sin((x - kBackMiddleX) * kBackTurn / 30.0f);
    return std::fmod(w + 1200.0f, 12.0f) < 3.0f;
}

// Frames inside each other, as far as the middle.
bool nestedFrames(float x, float y) {
    float const d = std::fmin(std::fmin(x - kBackMargin, kCardWidth - kBackMargin - x),
                              std::fmin(y - kBackMargin, kCardHeight - kBackMargin - y));
    return std::fmod(d, 11.0f) < 3.0f;
}

// Rays from a star in a ring at the middle.
bool sunburst(float x, float y) {
    float const dx = x - kBackMiddleX, dy = y - kBackMiddleY;
    float const r = std::sqrt(dx * dx + dy * dy);
    if (r > 34.0f) return std::fmod(std::atan2(dy, dx) + kBackTurn, kBackTurn / 28.0f) < kBackTurn / 28.0f * 0.4f;
    return (r < 30.0f && r > 26.0f) || cards::star(kBackMiddleX, kBackMiddleY, 21.0f, 9.0f)(x, y);
}

void back(Output& out, int number, Colour fill, Colour pattern, bool (*motif)(float, float)) {
    Canvas card = blankCard(fill);
    card.fill([motif](float x, float y) { return inBackPanel(x, y) && motif(x, y); }, pattern);
    out.save(card, "BACK_" + std::to_string(number));
}

// ---- the joker, the wildcard's mark and the extra cards ----

// The joker: a jester with a three-pointed cap and bells, a ruff and a harlequin coat, red stars
// in the corners.
void joker(Output& out) {
    Canvas card = blankCard();
    card.fill(cards::star(26, 32, 16, 7), kCourtRed);
    card.mirrorCorner(52, 52);
    Colour const bellRim = kDarkGold;
    // Coat: red with blue diamonds.
    cards::Shape const coat = cards::polygon({{54, 252}, {146, 252}, {134, 196}, {66, 196}});
    card.fill(coat, kCourtRed);
    card.fill(cards::intersect(coat,
                               [](float x, float y) {
                                   int const u = static_cast<int>(std::floor((x + y) / 18.0f));
                                   int const v = static_cast<int>(std::floor((x - y + 400.0f) / 18.0f));
                                   return (u + v) % 2 == 0;
                               }),
              kBlue);
    // Ruff.
    for (int i = 0; i < 7; ++i)
        card.fill(cards::circle(58 + 14.0f * static_cast<float>(i), 192, 10), i % 2 ? kGold : kCream);
    // Cap: three lobes ending in bells.
    card.fill(cards::polygon({{70, 126}, {96, 121}, {74, 100}, {48, 82}, {56, 104}}), kCourtRed);
    card.fill(cards::polygon({{130, 126}, {104, 121}, {126, 100}, {152, 82}, {144, 104}}), kBlue);
    card.fill(cards::polygon({{86, 123}, {114, 123}, {107, 92}, {100, 64}, {93, 92}}), kLeaf);
    for (auto [x, y] : {std::pair{48.0f, 82.0f}, {100.0f, 62.0f}, {152.0f, 82.0f}}) {
        card.fill(cards::circle(x, y, 8), bellRim);
        card.fill(cards::circle(x - 1, y - 1, 6), kGold);
    }
    card.fill(cards::roundedRect(66, 118, 134, 131, 6), kGold);
    // Face.
    card.fill(cards::circle(100, 156, 28), kSkin);
    card.fill(cards::unite({cards::capsule(84, 141, 94, 139, 2), cards::capsule(106, 139, 116, 141, 2)}), kInk);
    card.fill(cards::unite({cards::circle(89, 148, 2.6f), cards::circle(111, 148, 2.6f)}), kInk);
    card.fill(cards::unite({cards::circle(80, 163, 5.5f), cards::circle(120, 163, 5.5f)}), {238, 140, 140, 255});
    card.fill(cards::arc(100, 160, 17, 13, 0.35f, 2.79f), kLips);
    card.fill(cards::circle(100, 157, 5.5f), kCourtRed);
    out.save(card, "JOKER");
}

// The wildcard's mark, drawn over the face of the card it stands for (the table and the shop draw
// the face first): a purple rim, a gold sparkle in the top-right corner and, at the foot, a badge
// with the four suits (it may be any card), so the card's own corners stay in sight.
void wildcardMark(Output& out) {
    Colour const ink{120, 40, 170, 255};
    Canvas card(kCardWidth, kCardHeight);
    card.fill(cards::subtract(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner),
                              cards::roundedRect(7, 7, kCardWidth - 7, kCardHeight - 7, kCorner - 7)),
              ink);
    card.fill(cards::star(kCardWidth - 34.0f, 36, 27, 11), ink);
    card.fill(cards::star(kCardWidth - 34.0f, 36, 20, 8), kGold);
    float const bx = 36.0f, by = kCardHeight - 38.0f;
    card.fill(cards::circle(bx, by, 24), ink);
    card.fill(cards::circle(bx, by, 20), kWhite);
    for (int suit = 0; suit < 4; ++suit)
        card.fill(cards::suitShape(suit, bx + (suit % 2 ? 8.5f : -8.5f), by + (suit / 2 ? 8.5f : -8.5f), 14),
                  suitColour(suit));
    out.save(card, "WILDCARD");
}

// An extra card: gold with rays behind a big star, and as many small stars as its number.
void extraCard(Output& out, int i) {
    Canvas card = blankCard(kGold);
    float const cx = kCardWidth / 2.0f, cy = 118.0f;
    card.fill(cards::intersect(cards::roundedRect(10, 10, kCardWidth - 10, kCardHeight - 10, kCorner - 8),
                               [cx, cy](float x, float y) {
                                   float const a = std::atan2(y - cy, x - cx) + 3.14159265f;
                                   return std::fmod(a, 3.14159265f / 8.0f) < 3.14159265f / 16.0f;
                               }),
              {235, 200, 95, 255});
    card.fill(cards::star(cx, cy, 62, 26), kDarkGold);
    card.fill(cards::star(cx, cy, 52, 21), kWhite);
    float const step = 36.0f, first = cx - step * static_cast<float>(i) / 2.0f;
    for (int n = 0; n <= i; ++n) {
        card.fill(cards::star(first + step * static_cast<float>(n), 216, 16, 7), kDarkGold);
    }
    out.save(card, "EXTRA_" + std::to_string(i));
}

void outline(Output& out, std::string const& name, Colour colour, float width) {
    Canvas card(kCardWidth, kCardHeight);
    card.fill(
        cards::subtract(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner),
                        cards::roundedRect(width, width, kCardWidth - width, kCardHeight - width, kCorner - width)),
        colour);
    out.save(card, name);
}

// ---- empty places: what lies on the table where a pile has no card ----

constexpr Colour kHintFill{255, 255, 255, 30};

cards::Shape cardOutline(float inset, float width) {
    return cards::subtract(
        cards::roundedRect(inset, inset, kCardWidth - inset, kCardHeight - inset, kCorner - inset * 0.5f),
        cards::roundedRect(inset + width, inset + width, kCardWidth - inset - width, kCardHeight - inset - width,
                           kCorner - inset * 0.5f - width));
}

// A card's rectangle turned by angle (radians) about (px, py), its centre lying h/2 above that point.
cards::Shape turnedRect(float px, float py, float w, float h, float angle) {
    float const c = std::cos(angle), s = std::sin(angle);
    std::vector<std::pair<float, float>> points;
    for (auto [x, y] : {std::pair{-w / 2, -h}, {w / 2, -h}, {w / 2, 0.0f}, {-w / 2, 0.0f}})
        points.emplace_back(px + x * c - y * s, py + x * s + y * c);
    return cards::polygon(std::move(points));
}

// Small cards fanned from a point: count of them, spread over the angle.
void fan(Canvas& card, int count, float spread) {
    float const px = kCardWidth / 2.0f, py = 190.0f;
    for (int i = 0; i < count; ++i) {
        float const a = spread * (static_cast<float>(i) / static_cast<float>(count - 1) - 0.5f);
        card.fill(turnedRect(px, py, 60, 86, a), kHintFill);
        card.fill(cards::subtract(turnedRect(px, py, 60, 86, a), turnedRect(px, py - 4, 52, 78, a)), kHint);
    }
}

// Two arrows chasing round a circle: the stock is dealt again from what it gave.
void recycleCircle(Canvas& card) {
    float const cx = kCardWidth / 2.0f, cy = kCardHeight / 2.0f, r = 40.0f;
    float const pi = 3.14159265f;
    for (float start : {-pi * 0.95f, pi * 0.05f}) {
        float const end = start + pi * 0.72f;
        card.fill(cards::arc(cx, cy, r + 6, r - 6, start, end), kHint);
        float const ex = cx + r * std::cos(end), ey = cy + r * std::sin(end);
        float const nx = std::cos(end), ny = std::sin(end), tx = -ny, ty = nx;
        card.fill(cards::polygon({{ex + nx * 15, ey + ny * 15}, {ex - nx * 15, ey - ny * 15}, {ex + tx * 22, ey + ty * 22}}),
                  kHint);
    }
}

void pilePicture(Output& out, std::string const& word) {
    Canvas card(kCardWidth, kCardHeight);
    float const cx = kCardWidth / 2.0f;
    card.fill(cards::roundedRect(0, 0, kCardWidth, kCardHeight, kCorner), kHintFill);
    if (word == "MUELL") {
        // A dashed rim and two cards laid over each other: where the stock's cards are turned up.
        card.fill(cards::intersect(cardOutline(0, 4),
                                   [](float x, float y) {
                                       bool const side = y > 16 && y < kCardHeight - 16;
                                       return static_cast<int>((side ? y : x) / 14.0f) % 2 == 0;
                                   }),
                  kHint);
        fan(card, 2, 0.5f);
    } else {
        card.fill(cardOutline(0, 4), kHint);
    }
    if (word == "VORRAT") recycleCircle(card);
    if (word == "BASIS") card.fill(cardOutline(14, 2), kHint);
    if (word == "FAECHER") fan(card, 3, 0.9f);
    if (word == "ABLAGE") {
        // A tray with an arrow going down into it.
        card.fill(cards::unite({cards::roundedRect(52, 170, 60, 205, 3), cards::roundedRect(140, 170, 148, 205, 3),
                                cards::roundedRect(52, 197, 148, 205, 3)}),
                  kHint);
        card.fill(cards::unite({cards::roundedRect(cx - 6, 80, cx + 6, 150, 3),
                                cards::polygon({{cx - 24, 140}, {cx + 24, 140}, {cx, 176}})}),
                  kHint);
    }
    if (word == "RESERVE")
        // Corner brackets: a cell that holds one card.
        for (int corner = 0; corner < 4; ++corner) {
            float const x = corner % 2 ? kCardWidth - 22.0f : 22.0f, y = corner / 2 ? kCardHeight - 22.0f : 22.0f;
            float const dx = corner % 2 ? -30.0f : 30.0f, dy = corner / 2 ? -30.0f : 30.0f;
            card.fill(cards::unite({cards::capsule(x, y, x + dx, y, 5), cards::capsule(x, y, x, y + dy, 5)}), kHint);
        }
    out.save(card, "STAPEL_" + word);
}

// Marker of what an empty pile accepts, drawn over its empty place: a suit or the four suits in
// the middle (colour rules), a value as a corner index (value rules), so both fit on one place.
void acceptsPicture(Output& out, std::string const& word, int suit, std::string const& label) {
    Canvas card(kCardWidth, kCardHeight);
    float const cx = kCardWidth / 2.0f, cy = kCardHeight / 2.0f;
    if (suit >= 0 && suit < 4) card.fill(cards::suitShape(suit, cx, cy, 90), kHint);
    if (suit == 4)
        for (int s = 0; s < 4; ++s)
            card.fill(cards::suitShape(s, cx + (s % 2 ? 28.0f : -28.0f), cy + (s / 2 ? 30.0f : -30.0f), 44), kHint);
    if (!label.empty()) {
        int const height = 40;
        // The face's advance is about 0.6 of the pixel height.
        float const width = 0.6f * static_cast<float>(height) * static_cast<float>(label.size());
        card.text(out.font, label, 14.0f + width / 2.0f, 18.0f + static_cast<float>(height) / 2.0f, height, kHint);
        card.mirrorCorner(static_cast<int>(width) + 20, height + 30);
    }
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

// A lock is drawn over the whole card it holds, like the card's face: a padlock with a dark rim
// at the top of the card, whole within the strip a card covered in a fan still shows (the
// tableau's fan steps 0.3 of a card), so a locked card under others shows a lock, not its shackle.
constexpr float kLockTop = 10.0f, kLockBottom = 76.0f;
static_assert(kLockBottom < 0.3f * kCardHeight);

void lockPicture(Output& out, int i) {
    Canvas card(kCardWidth, kCardHeight);
    float const cx = kCardWidth / 2.0f;
    float const bend = kLockTop + 22.0f;  // the shackle's middle, where its arc meets its legs
    float const bodyTop = bend + 10.0f;
    auto padlock = [&](float grow) {
        return cards::unite({cards::subtract(cards::ring(cx, bend, 22.0f + grow, 13.0f - grow),
                                             [bend](float, float y) { return y > bend; }),
                             cards::roundedRect(cx - 22.0f - grow, bend, cx - 13.0f + grow, bodyTop + 2.0f, 0.0f),
                             cards::roundedRect(cx + 13.0f - grow, bend, cx + 22.0f + grow, bodyTop + 2.0f, 0.0f),
                             cards::roundedRect(cx - 32.0f - grow, bodyTop - grow, cx + 32.0f + grow,
                                                kLockBottom - 3.0f + grow, 6.0f + grow)});
    };
    card.fill(padlock(3.0f), kBlack);
    card.fill(padlock(0.0f), kIconColours[i]);
    float const hole = (bodyTop + kLockBottom) / 2.0f - 4.0f;
    card.fill(cards::unite({cards::circle(cx, hole, 6.0f), cards::roundedRect(cx - 3.0f, hole, cx + 3.0f, hole + 14.0f, 1.0f)}),
              kBlack);
    out.save(card, "LOCK_" + std::to_string(i));
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
    back(out, 1, {30, 60, 130, 255}, {70, 110, 190, 255}, lattice);
    back(out, 2, {130, 30, 45, 255}, {190, 70, 80, 255}, lattice);
    back(out, 3, {30, 105, 65, 255}, {95, 170, 120, 255}, staggeredDots);
    back(out, 4, {85, 45, 125, 255}, {150, 110, 190, 255}, waves);
    back(out, 5, {15, 110, 115, 255}, {75, 175, 175, 255}, nestedFrames);
    back(out, 6, {140, 85, 30, 255}, {205, 150, 75, 255}, sunburst);
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
    joker(out);
    for (int i = 0; i < 3; ++i) extraCard(out, i);
    for (int i = 0; i < 4; ++i) keyIcon(out, i);
    for (int i = 0; i < 4; ++i) lockPicture(out, i);
    for (char const* word : {"VORRAT", "MUELL", "BASIS", "TABLEAU", "FAECHER", "ABLAGE", "RESERVE"})
        pilePicture(out, word);
    for (int suit = 0; suit < 4; ++suit) acceptsPicture(out, kSuits[suit], suit, "");
    acceptsPicture(out, "ALL_F", 4, "");
    for (int value = 0; value < 13; ++value) acceptsPicture(out, kValues[value], -1, kValueLabels[value]);
    // Any value: nothing to mark; the colour mark (or the place's own picture) stands alone.
    out.save(Canvas(kCardWidth, kCardHeight), "ACCEPTS_ALL_W");
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
