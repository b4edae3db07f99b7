// Reading a variant file: includes ("KARTEN_FILE" before, "KARTEN_FILE_POST" after the piles),
// the two wish keys, templates, piles, pile positions, the pile order, then the game keys, which
// therefore win over those of every file the element includes.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cwctype>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RuleWords.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

namespace {

// An opened file's property tree, read once (a file opens through the archives and the disk
// search, which costs more than reading a small file).
bool readOpenedFile(Orvex::File const& file, Orvex::XMLNode& out) {
    std::vector<Orvex::u8> bytes;
    return file.readAll(bytes, Orvex::File::kMaxTextFileBytes) && out.loadFromBytes(bytes.data(), bytes.size(), file.getPath());
}

// The last part of a file name, without case: two names of one file end alike.
std::wstring lastNameKey(std::wstring const& name) {
    std::size_t const slash = name.find_last_of(L"\\/");
    std::wstring key = slash == std::wstring::npos ? name : name.substr(slash + 1);
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
    return key;
}

std::wstring describeSource(std::wstring const& sourceName) {
    return sourceName.empty() ? std::wstring(L"Variant definition") : L"Variant file \"" + sourceName + L"\"";
}

// "POSITION_REL" of a pile position: x y, optionally divided by a third number (both) or by a
// third and a fourth (each); one number sets both. The numbers are read as readFloats reads a list;
// the share of the view they give is a place, and one beyond kMaxMeasure (or a division by 0) is
// refused with the list's line.
void readRelativePlace(Orvex::XMLNode const& entry, D3DXVECTOR2& out, ReadProblems& problems) {
    std::wstring const* text = attributeText(entry, L"POSITION_REL");
    if (!text) return;
    float n[4];
    ReadProblems pieces;
    std::size_t const count = readFloats(entry, L"POSITION_REL", n, -FLT_MAX, FLT_MAX, pieces);
    if (count == 0 && pieces.empty()) return;  // no number at all: the place stays
    if (count > 0) {
        float const x = n[0];
        float const y = count > 1 ? n[1] : x;
        float const dx = count >= 3 ? n[2] : 1.0f;
        float const dy = count >= 4 ? n[3] : dx;
        D3DXVECTOR2 const place(x / dx, y / dy);
        if (std::fabs(place.x) <= kMaxMeasure && std::fabs(place.y) <= kMaxMeasure) {
            out = place;
            return;
        }
    }
    problems.add(Orvex::refusedNumbers(L"POSITION_REL", *text, -kMaxMeasure, kMaxMeasure), entry.getLine());
}

}  // namespace

bool Kartenmanager::loadGameDefinitionFile(std::wstring const& fileName) {
    Orvex::XMLNode node;
    if (!node.load(fileName)) {
        Orvex::logError(L"Variant file \"" + fileName + L"\" cannot be read; nothing loaded");
        return false;
    }
    loadGameDefinition(node, fileName);
    return true;
}

void Kartenmanager::loadGameDefinition(Orvex::XMLNode& node, std::wstring const& sourceName) {
    std::wstring const outerSource = currentSource_;
    bool const outermost = openFiles_.empty();
    if (outermost) includeReads_ = pileRepeats_ = 0;
    if (!sourceName.empty()) openFiles_.push_back(OpenFile{sourceName, lastNameKey(sourceName), L""});
    currentSource_ = sourceName;
    readDefinition(node, sourceName, 0);
    currentSource_ = outerSource;
    if (!sourceName.empty()) openFiles_.pop_back();
    if (outermost && pileRepeats_ > 0) {
        std::wstring line = describeSource(sourceName) + L": pile \"" + firstRepeatedPile_ + L"\" is named again";
        if (firstRepeatSource_ != sourceName) line += L" by its include \"" + firstRepeatSource_ + L"\"";
        if (pileRepeats_ > 1) line += L" (and " + std::to_wstring(pileRepeats_ - 1) + L" more after it)";
        Orvex::logError(line + L"; the first pile of a name is the one the name finds");
    }
}

void Kartenmanager::readInclude(Orvex::XMLNode const& element, std::wstring const& sourceName, int depth) {
    std::wstring const* file = attributeText(element, L"FILE");
    if (!file) return;
    std::wstring const what = describeSource(sourceName) + L": include \"" + *file + L"\"";
    if (depth + 1 > kMaxIncludeDepth) {
        Orvex::logError(what + L" nests deeper than " + std::to_wstring(kMaxIncludeDepth) + L" files; skipped");
        return;
    }
    if (includeReads_ >= kMaxIncludeReads) {
        // The count steps past the limit once, so the line is written once.
        if (includeReads_ == kMaxIncludeReads) {
            Orvex::logError(what + L" passes the " + std::to_wstring(kMaxIncludeReads) +
                            L" included files one definition may read; it and the rest are skipped");
            ++includeReads_;
        }
        return;
    }
    Orvex::File opened(*file);
    if (!opened.open(*file)) {
        Orvex::logError(what + L" cannot be read; skipped");
        return;
    }
    // By the file it opens: ".\a.sol" and "A.SOL" are a.sol again. Only names that end alike
    // can open one file, so only for those the identities are looked up.
    std::wstring const lastName = lastNameKey(*file);
    std::wstring identity;
    for (OpenFile& open : openFiles_) {
        if (open.lastName != lastName) continue;
        if (open.identity.empty()) open.identity = Orvex::fileIdentity(open.name);
        if (identity.empty()) identity = opened.getIdentity();
        if (open.identity == identity) {
            Orvex::logError(what + L" is already being read (an include cycle); skipped");
            return;
        }
    }
    ++includeReads_;
    Orvex::XMLNode included;
    if (!readOpenedFile(opened, included)) {
        Orvex::logError(what + L" cannot be read; skipped");
        return;
    }
    openFiles_.push_back(OpenFile{*file, lastName, identity});
    std::wstring const outerSource = currentSource_;
    currentSource_ = *file;
    readDefinition(included, *file, depth + 1);
    currentSource_ = outerSource;
    openFiles_.pop_back();
}

void Kartenmanager::readDefinition(Orvex::XMLNode& node, std::wstring const& sourceName, int depth) {
    ReadProblems problems;

    for (Orvex::XMLNode* child : node.children())
        if (child->getName() == L"KARTEN_FILE") readInclude(*child, sourceName, depth);

    readBool(node, L"REMOVE_ALL_EXTRA_CARDS_WUENSCHE", rules_.removeExtraCardWishes);
    readBool(node, L"REMOVE_ALL_KEY_OR_LOCK_CARDS_WUENSCHE", rules_.removeKeyOrLockWishes);

    auto readPiles = [&](wchar_t const* element, std::vector<Kartenstapel*>& list) {
        for (Orvex::XMLNode* child : node.children()) {
            if (child->getName() != element) continue;
            if (list.size() >= static_cast<std::size_t>(kMaxPiles)) {
                problems.add(L"more than " + std::to_wstring(kMaxPiles) + L" \"" + element + L"\" elements");
                break;
            }
            auto* pile = new Kartenstapel(static_cast<int>(list.size()));
            pile->readDefinition(*child, sourceName);
            bool const repeated = &list == &piles && std::any_of(list.begin(), list.end(), [&](Kartenstapel const* p) {
                return p->getName() == pile->getName();
            });
            if (repeated && pileRepeats_++ == 0) {
                firstRepeatedPile_ = pile->getName();
                firstRepeatSource_ = sourceName;
            }
            list.push_back(pile);
        }
    };
    readPiles(L"STAPEL_VORLAGE", templates_);
    readPiles(L"STAPEL", piles);

    for (Orvex::XMLNode* child : node.children())
        if (child->getName() == L"KARTEN_FILE_POST") readInclude(*child, sourceName, depth);

    if (Orvex::XMLNode const* positions = node.getChild(L"DYNAMIC_STAPEL_POSES")) {
        rules_.pilePositions.clear();
        for (Orvex::XMLNode const* entry : positions->children()) {
            if (entry->getName() != L"STAPEL_POS") continue;
            if (rules_.pilePositions.size() >= static_cast<std::size_t>(kMaxPilePositions)) {
                problems.add(L"more than " + std::to_wstring(kMaxPilePositions) + L" \"STAPEL_POS\" elements");
                break;
            }
            PilePosition place;
            place.name = entry->getAttributeString(L"NAME", L"");
            ReadProblems refused;
            readRelativePlace(*entry, place.relative, refused);
            readFloat(*entry, L"RENDER_INDEX", place.renderIndex, refused);
            // The pile takes it as its "SCALE".
            readMeasure(*entry, L"SCALE", place.scale, refused);
            problems.absorb(refused, L"\"STAPEL_POS\" " + Orvex::quotedPiece(place.name) + L": ", entry->getLine());
            readBool(*entry, L"DRAW_IF_LEER", place.drawIfEmpty);
            rules_.pilePositions.push_back(std::move(place));
        }
    }

    std::stable_sort(piles.begin(), piles.end(),
                     [](Kartenstapel const* a, Kartenstapel const* b) { return a->rules.order < b->rules.order; });
    for (std::size_t i = 0; i < piles.size(); ++i) piles[i]->index = static_cast<int>(i);

    if (std::wstring const* text = attributeText(node, L"KARTEN_FARBE")) rules_.deckColourRule = parseColourRule(*text);
    if (Orvex::XMLAttribute const* values = node.getAttribute(L"KARTEN_WERT")) {
        Orvex::XMLValueTokens const words = values->split(L" ");
        if (words.getCount() > 0) {
            rules_.deckValueRules[0] = parseValueRule(words.get(0)->getString());
            rules_.deckValueRules[1] =
                words.getCount() > 1 ? parseValueRule(words.get(1)->getString()) : rules_.deckValueRules[0];
        }
    }
    readInt(node, L"ANZAHL_KARTEN", rules_.deckSize, 0, kMaxDeckSize, problems);
    readInt(node, L"ANZAHL_STERNE", rules_.extraCardCount, 0, kMaxExtraCards, problems);
    readInt(node, L"STERNETYP", rules_.extraCardType, 0, kMaxExtraType, problems);
    if (node.getAttribute(L"SCORE_START")) {
        float start = rules_.startScore;
        readFloat(node, L"SCORE_START", start, problems);
        // The score only: the balance is the player's and comes with the new game.
        play_.score = rules_.startScore = start;
    }
    if (std::wstring const* text = attributeText(node, L"NAME")) rules_.gameName = *text;
    if (std::wstring const* text = attributeText(node, L"GAMESTYLE")) rules_.gameStyleName = *text;
    readFloat(node, L"GLOBAL_MAKE_KARTEN_VISIBLE_VERH", rules_.visibleRatio, problems);
    readFloat(node, L"GLOBAL_MAKE_WILDCARD_VERH", rules_.wildcardRatio, problems);
    readFloat(node, L"GLOBAL_MAKE_JOKER_VERH", rules_.jokerRatio, problems);
    readBool(node, L"USE_RIGHT_MOUSE", rules_.useRightMouse);
    readBool(node, L"USE_DOUBLE_CLICK", rules_.useDoubleClick);
    if (std::wstring const* text = attributeText(node, L"REMOVE_ZIELSTAPEL_NAME")) rules_.removeTargetPileName = *text;
    if (std::wstring const* text = attributeText(node, L"REMOVE_QUELLSTAPEL_TYP"))
        rules_.removeSourcePileType = parsePileType(*text);
    if (std::wstring const* text = attributeText(node, L"SHOW_STAPEL_TYP")) rules_.showPileType = parsePileType(*text);
    if (std::wstring const* text = attributeText(node, L"SHUFFLE_STAPEL_NAME")) rules_.shufflePileName = *text;
    readBool(node, L"AUTO_CHECK_END", rules_.autoCheckEnd);
    if (std::wstring const* text = attributeText(node, L"SPECIAL_STAPEL")) rules_.specialPileName = *text;
    readBool(node, L"DBL_CLICK_ZIEL_ONLY", rules_.doubleClickGoalOnly);
    readBool(node, L"ALTERNATE_CARD_CREATION", rules_.alternateCardCreation);

    problems.log(describeSource(sourceName), {}, node.getLine());
}

}  // namespace Solitaire
