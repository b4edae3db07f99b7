// Reading a pile definition: "NAME", a "VORLAGE" copy, the arrangements (an "ANORDNUNG" naming an
// arrangement of the template is read again by it), the root, then the keys in file order.
#include <climits>

#include "game/cards/Anordnung.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

namespace {

constexpr int kMaxRunSize = 1024;      // run sizes and fill counts: more than any deck
constexpr int kMaxRevealCount = 1024;  // "ANZAHL_AUFDECKEN" passes
constexpr int kMaxShading = 1024;      // "ABSCHATTUNG": an index the renderer checks again

void readColour(Orvex::XMLNode const& node, std::wstring_view key, int& rule) {
    if (std::wstring const* text = attributeText(node, key)) rule = parseColourRule(*text);
}

void readValue(Orvex::XMLNode const& node, std::wstring_view key, int& rule) {
    if (std::wstring const* text = attributeText(node, key)) rule = parseValueRule(*text);
}

// Appends the values of the first child named key, within the list limit.
void readNameList(Orvex::XMLNode const& node, std::wstring_view key, std::vector<std::wstring>& list,
                  ReadProblems& problems) {
    Orvex::XMLNode const* child = node.getChild(key);
    if (!child) return;
    for (Orvex::XMLProperty const* value : child->values()) {
        if (list.size() >= static_cast<std::size_t>(Kartenstapel::kMaxNamesPerList)) {
            problems.add(L"\"" + std::wstring(key) + L"\" holds more than " +
                         std::to_wstring(Kartenstapel::kMaxNamesPerList) + L" names", node.getLine());
            return;
        }
        list.push_back(value->getString());
    }
}

// The game definition's wish keys in force, and the file for log lines.
AnordnungReadOptions readOptions(std::wstring const& sourceName) {
    Kartenmanager const& manager = Kartenmanager::instance();
    return {manager.getRules().removeExtraCardWishes, manager.getRules().removeKeyOrLockWishes, sourceName};
}

void readShort(Orvex::XMLNode const& node, std::wstring_view key, short& value, int low, int high,
               ReadProblems& problems) {
    int read = value;
    readInt(node, key, read, low, high, problems);
    value = static_cast<short>(read);
}

}  // namespace

void Kartenstapel::readXML(Orvex::XMLNode& node) { readDefinition(node, Kartenmanager::instance().getCurrentSource()); }

void Kartenstapel::readDefinition(Orvex::XMLNode& node, std::wstring const& sourceName) {
    ReadProblems problems;
    KartenObjekt::readXML(node);

    if (std::wstring const* templateName = attributeText(node, L"VORLAGE")) {
        if (Kartenstapel const* found = Kartenmanager::instance().findTemplate(*templateName))
            copyFrom(*found);
        else
            problems.add(L"\"VORLAGE\" \"" + *templateName + L"\" names no template");
    }

    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != L"ANORDNUNG") continue;
        std::wstring const* name = attributeText(*child, L"NAME");
        if (Anordnung* existing = name ? findArrangement(*name) : nullptr) {
            existing->loadDefinition(*child, readOptions(sourceName));
        } else if (arrangements_.size() >= static_cast<std::size_t>(kMaxArrangements)) {
            problems.add(L"more than " + std::to_wstring(kMaxArrangements) + L" arrangements");
            break;
        } else {
            arrangements_.push_back(new Anordnung(*child, this, this, readOptions(sourceName)));
        }
    }
    for (Anordnung* arrangement : arrangements_) arrangement->linkSuccessors(arrangements_);

    if (std::wstring const* rootName = attributeText(node, L"ROOT_ANORDNUNG")) {
        rootArrangement_ = findArrangement(*rootName);
        if (!rootArrangement_) problems.add(L"\"ROOT_ANORDNUNG\" \"" + *rootName + L"\" names no arrangement");
    }
    if (!rootArrangement_ && !arrangements_.empty()) rootArrangement_ = arrangements_.front();

    int extraWish = 0;
    bool autoExtra = false;
    readBool(node, L"AUTO_CREATE_EXTRACARD_WISH", autoExtra);
    if (autoExtra && rootArrangement_) extraWish = rootArrangement_->addExtraCardWish() ? 1 : 0;

    if (std::wstring const* text = attributeText(node, L"USERNAME")) userName = *text;
    if (std::wstring const* text = attributeText(node, L"STAPELTYP")) rules.pileType = parsePileType(*text);
    readFloat(node, L"RENDER_INDEX", rules.renderIndex, problems);
    readFloat(node, L"WILDCARD_PROP", rules.wildcardProp, problems);
    readFloat(node, L"JOKER_PROP", rules.jokerProp, problems);
    readShort(node, L"ABSCHATTUNG", rules.shading, 0, kMaxShading, problems);

    if (node.getAttribute(L"POSITION")) {
        D3DXVECTOR2 place = position;
        readMeasurePair(node, L"POSITION", place, problems);
        setTablePosition(place);
    }
    if (node.getAttribute(L"POSITION_REL")) {
        D3DXVECTOR2 place = relativePosition;
        readMeasurePair(node, L"POSITION_REL", place, problems);
        setRelativePosition(place);
    }

    readColour(node, L"INIT_KARTEN_FARBE", rules.initColourRule);
    readValue(node, L"INIT_KARTEN_WERT", rules.initValueRule);
    readInt(node, L"INIT_KARTEN_SICHTBAR", rules.initVisibleCards, 0, kMaxInitCards, problems);
    readInt(node, L"INIT_KARTEN_VERDECKT", rules.initHiddenCards, 0, kMaxInitCards, problems);
    rules.initHiddenCards += extraWish;
    readInt(node, L"MAX_ANZ_FILL_KARTEN", rules.maxFillCards, -1, kMaxRunSize, problems);
    readInt(node, L"REIHENFOLGE", rules.order, INT_MIN, INT_MAX, problems);

    readNameList(node, L"QUELLSTAPEL", rules.sourcePiles, problems);
    readNameList(node, L"ZIELSTAPEL", rules.targetPiles, problems);
    readNameList(node, L"VERKNÜPFT", rules.linkedPiles, problems);
    readNameList(node, L"AUTO_FILL", rules.autoFillPiles, problems);
    readNameList(node, L"PAIR_GOAL", rules.pairGoalPiles, problems);

    readColour(node, L"ACCEPT_KARTEN_FARBE", rules.acceptColourRule);
    readValue(node, L"ACCEPT_KARTEN_WERT", rules.acceptValueRule);
    readColour(node, L"ACCEPT_KARTEN_FARBE_LEER", rules.acceptColourRuleEmpty);
    readValue(node, L"ACCEPT_KARTEN_WERT_LEER", rules.acceptValueRuleEmpty);
    readInt(node, L"ACCEPT_STAPEL_SIZE", rules.acceptRunSize, -1, kMaxRunSize, problems);
    readInt(node, L"MIN_ACCEPT_STAPEL_SIZE", rules.minAcceptRunSize, 0, kMaxRunSize, problems);
    // Times the card's size: a card of a scale beyond kMaxMeasure is drawn past a float.
    readMeasure(node, L"SCALE", scale_, problems);
    readShort(node, L"MOVE_STAPEL", rules.moveRun, SHRT_MIN, SHRT_MAX, problems);
    readBool(node, L"CAN_MOVE_STAPEL", rules.canMoveRun);
    readBool(node, L"USE_SELECT_CARDS_OFFSET", useSelectOffset);
    readBool(node, L"MOVE_STAPEL_CHECK", rules.moveCheck);
    readBool(node, L"ACCEPT_STAPEL_CHECK", rules.acceptCheck);
    readColour(node, L"MOVE_STAPEL_FARBE", rules.moveColourRule);
    readValue(node, L"MOVE_STAPEL_WERT", rules.moveValueRule);
    readInt(node, L"MOVE_STAPEL_MAX_SIZE", rules.moveMaxSize, -1, kMaxRunSize, problems);
    readBool(node, L"MOVE_STAPEL_MAX_SIZE_ANZ_VERKN_LEER", rules.moveMaxByEmptyLinked);
    readBool(node, L"ONLY_ACTIVE_IF_VERK_LEER", rules.onlyActiveIfLinkedEmpty);
    if (std::wstring const* text = attributeText(node, L"IS_ZIELSTAPEL")) {
        rules.goalKind = parseGoalKind(*text);
        if (rules.goalKind == kGoalZiel) rules.shuffleFlags = 0;
    }
    readBool(node, L"USE_SINGLE_DBL_CLICK", rules.singleDoubleClick);
    if (Orvex::XMLAttribute const* wrap = node.getAttribute(L"WRAP_AROUND")) {
        rules.wrapLow = 0;
        rules.wrapHigh = 12;
        rules.wrapAround = wrap->getBool() ? 1 : 0;
    }
    if (Orvex::XMLAttribute const* mode = node.getAttribute(L"WRAP_MODE")) {
        Orvex::XMLValueTokens const words = mode->split(L" ");
        if (words.getCount() > 0) {
            rules.wrapLow = parseWrapValue(words.get(0)->getString());
            rules.wrapHigh = words.getCount() > 1 ? parseWrapValue(words.get(1)->getString()) : rules.wrapLow;
        }
    }
    readBool(node, L"AUTO_FILL", rules.autoFill);
    readBool(node, L"AUTO_FILL_MAKE_VISIBLE", rules.autoFillMakeVisible);
    readBool(node, L"PAIRS", rules.pairs);
    readInt(node, L"ANZAHL_AUFDECKEN", rules.revealCount, 0, kMaxRevealCount, problems);
    if (std::wstring const* text = attributeText(node, L"CLICK_ON_VERDECKT")) rules.clickOnHidden = parseClickActions(*text);
    if (std::wstring const* text = attributeText(node, L"CLICK_ON_LEER")) rules.clickOnEmpty = parseEmptyClickActions(*text);
    readInt(node, L"REST_COUNT_HOLEN", rules.restCount, -1, INT_MAX, problems);
    if (std::wstring const* text = attributeText(node, L"MISCHEN_MODE")) rules.shuffleFlags = parseCardFlags(*text);
    readBool(node, L"DRAW_STAPEL", rules.drawPile);
    readBool(node, L"DECKE_TOPKARTE_AUF", rules.turnTopCardUp);
    readFloat(node, L"MAKE_KARTEN_VISIBLE_VERH", rules.visibleRatio, problems);

    problems.log(L"Pile \"" + getName() + L"\"", sourceName, node.getLine());
}

void Kartenstapel::copyFrom(Kartenstapel const& templatePile) {
    if (&templatePile == this) return;
    rules = templatePile.rules;
    static_cast<StapelLayout&>(*this) = templatePile;
    scale_ = templatePile.scale_;
    clearArrangements();
    for (Anordnung const* source : templatePile.arrangements_) {
        arrangements_.push_back(new Anordnung(*source, this, this));
        if (source == templatePile.rootArrangement_) rootArrangement_ = arrangements_.back();
    }
}

}  // namespace Solitaire
