// The "PROFIL" element: reading it (untrusted, see Profil.h) and writing it in the file's order.
// Reading measures the element against what a profile keeps (kProfileShape); one that holds more
// is copied as far as it is kept, and the copy is read.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "engine/core/XMLNode.h"
#include "engine/core/XMLShape.h"
#include "game/app/Profil.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/RuleWords.h"
#include "game/cards/StatistikManager.h"
#include "game/cards/StatistikNumbers.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

namespace {

constexpr int kLastSuit = kColourExtra;  // suits 0 .. 3 and the extra cards
constexpr int kLastValue = kValueKoenig;

// An unsigned attribute; absent gives fallback, one that does not read a problem and fallback.
Orvex::u32 readCount(Orvex::XMLNode const& node, wchar_t const* key, Orvex::u32 fallback, ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return fallback;
    std::optional<Orvex::u32> const number = parseCounterText(attribute->getString());
    if (number) return *number;
    problems.add(L"\"" + std::wstring(key) + L"\" " + Orvex::quotedPiece(attribute->text()) + L" is not a 32-bit count",
                 node.getLine());
    return fallback;
}

// A result clamped into 0 .. highest (a problem when it had to be).
int readResult(Orvex::XMLNode const& node, int highest, ReadProblems& problems) {
    Orvex::u32 const result = readCount(node, L"RESULT", 0, problems);
    if (result <= static_cast<Orvex::u32>(highest)) return static_cast<int>(result);
    problems.add(L"\"RESULT\" " + std::to_wstring(result) + L" above " + std::to_wstring(highest) + L", taken as " +
                     std::to_wstring(highest),
                 node.getLine());
    return highest;
}

// A chapter's or level's number, 0 when absent; none for one not written as the game writes it.
std::optional<int> campaignNumber(Orvex::XMLNode const& node, wchar_t const* key) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return 0;
    return attribute->text().withView([](std::wstring_view text) { return Profil::parseCampaignNumber(text); });
}

// A chapter or level number, 0 when absent: false (and a problem) for one that is not written as
// the game writes it, whose record is dropped rather than taken for another's.
bool readCampaignNumber(Orvex::XMLNode const& node, wchar_t const* key, int& number, ReadProblems& problems) {
    std::optional<int> const read = campaignNumber(node, key);
    if (!read) {
        Orvex::XMLAttribute const* attribute = node.getAttribute(key);
        problems.add(L"\"" + std::wstring(key) + L"\" " + Orvex::quotedPiece(attribute->text()) +
                         L" is no campaign number; dropped",
                     node.getLine());
        return false;
    }
    number = *read;
    return true;
}

void appendValues(Orvex::XMLNode const* element, std::vector<std::wstring>& list) {
    if (!element) return;
    // Made from the view without keeping a copy in the tree, which goes once read.
    for (Orvex::XMLProperty const* value : element->values()) list.push_back(value->text().toString());
}

void writeValues(Orvex::XMLNode& node, wchar_t const* name, std::vector<std::wstring> const& list) {
    Orvex::XMLNode* element = node.addChild(name);
    for (std::wstring const& text : list) element->addValue(text);
}

// An owned card's suit and value codes; none when its words name no card.
std::optional<std::pair<int, int>> ownedCard(Orvex::XMLNode const& element) {
    int const suit = parseColourRule(element.getAttributeString(L"FARBE", L"HERZ"));
    int const value = parseValueRule(element.getAttributeString(L"WERT", L"ASS"));
    if (suit < 0 || suit > kLastSuit || value < 0 || value > kLastValue) return std::nullopt;
    return std::pair{suit, value};
}

void readCards(Orvex::XMLNode const& node, wchar_t const* name, Profil::CardList& list, ReadProblems& problems) {
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != name) continue;
        std::optional<std::pair<int, int>> const card = ownedCard(*child);
        if (!card) {
            problems.add(L"\"" + std::wstring(name) + L"\" names no card; dropped", child->getLine());
            continue;
        }
        list.push_back(*card);
    }
}

// The records readXML drops for what they hold, each with its line: so they cost nothing, and a
// file with one reads as the file without it.
bool chapterDropped(Orvex::XMLNode const& element) { return !campaignNumber(element, L"KAPITEL"); }
bool levelDropped(Orvex::XMLNode const& element) { return !campaignNumber(element, L"LEVEL"); }
bool cardDropped(Orvex::XMLNode const& element) { return !ownedCard(element); }

void writeCards(Orvex::XMLNode& node, wchar_t const* name, Profil::CardList const& list) {
    for (auto const& [suit, value] : list) {
        Orvex::XMLNode* element = node.addChild(name);
        element->setAttribute(L"FARBE", colourRuleName(suit));
        element->setAttribute(L"WERT", valueRuleName(value));
    }
}

// A locked chapter none of whose levels is open, passed or holds a found count: what the campaign
// table makes for a chapter the file does not name, so the file need not name it.
bool isUntouched(ChapterRecord const& chapter) {
    if (chapter.result != 0) return false;
    for (LevelRecord const& level : chapter.levels)
        if (level.result != 0 || level.found != 0) return false;
    return true;
}

void copyStored(Orvex::XMLNode const& node, wchar_t const* name, Orvex::XMLNode& stored) {
    if (Orvex::XMLNode const* element = node.getChild(name)) stored.copyFrom(*element);
}

// The decimal digits of a number.
constexpr std::size_t decimalDigits(unsigned long long number) { return number < 10 ? 1 : 1 + decimalDigits(number / 10); }

// The longest suit or value word of the card rules an owned card is written with ("KREUZ", "KÖNIG").
constexpr std::size_t kCardWordLength = 8;
// The longest god charge writeXML writes ("%.16g" of a float: "-1.401298464324817e-45").
constexpr std::size_t kGodTextLength = 22;

// What a profile keeps of its element: what writeXML writes there, each record's numbers and words
// charged as written whether the file gave them or not (a name's characters as two UTF-16 units).
constexpr std::wstring_view kProfileKeys[] = {L"NAME", L"POINTS"};
constexpr Orvex::XMLShape::Written kProfileWritten[] = {{L"NAME", 2 * Profil::kMaxNameLength}, {L"POINTS", kMaxFloatText}};
constexpr std::wstring_view kTutorialKeys[] = {L"SHOW"};
constexpr Orvex::XMLShape::Written kTutorialWritten[] = {{L"SHOW", 1}};
constexpr Orvex::XMLShape kTutorialList{kTutorialKeys, Profil::kMaxListEntries, {}, Orvex::XMLShape::kMaxText, kTutorialWritten};
constexpr Orvex::XMLShape kNameList{{}, Profil::kMaxListEntries};
constexpr std::wstring_view kLevelKeys[] = {L"LEVEL", L"RESULT", L"STARS_FOUND"};
constexpr Orvex::XMLShape::Written kLevelWritten[] = {{L"LEVEL", decimalDigits(Profil::kMaxCampaignNumber)},
                                                      {L"RESULT", decimalDigits(LevelRecord::kMaxResult)},
                                                      {L"STARS_FOUND", decimalDigits(0xFFFFFFFFu)}};
constexpr Orvex::XMLShape kLevel{kLevelKeys, 0, {}, Orvex::XMLShape::kMaxText, kLevelWritten};
constexpr std::wstring_view kChapterKeys[] = {L"KAPITEL", L"RESULT"};
constexpr Orvex::XMLShape::Written kChapterWritten[] = {{L"KAPITEL", decimalDigits(Profil::kMaxCampaignNumber)},
                                                        {L"RESULT", decimalDigits(ChapterRecord::kMaxResult)}};
constexpr Orvex::XMLShape::Child kChapterChildren[] = {{L"LEVEL", &kLevel, Profil::kMaxLevels, false, levelDropped}};
constexpr Orvex::XMLShape kChapter{kChapterKeys, 0, kChapterChildren, Orvex::XMLShape::kMaxText, kChapterWritten};
constexpr Orvex::XMLShape::Child kCampaignChildren[] = {{L"KAPITEL", &kChapter, Profil::kMaxChapters, false, chapterDropped}};
constexpr Orvex::XMLShape kCampaign{{}, 0, kCampaignChildren};
constexpr std::wstring_view kCardKeys[] = {L"FARBE", L"WERT"};
constexpr Orvex::XMLShape::Written kCardWritten[] = {{L"FARBE", kCardWordLength}, {L"WERT", kCardWordLength}};
constexpr Orvex::XMLShape kOwnedCard{kCardKeys, 0, {}, Orvex::XMLShape::kMaxText, kCardWritten};
constexpr Orvex::XMLShape kGodList{{}, Profil::kMaxListEntries, {}, Orvex::XMLShape::kMaxText, {}, Profil::kGodCount, kGodTextLength};
// writeXML writes each of these elements, held or not. Any profile may become the active one (at the
// start, or chosen on the profile screen), whose data, statistics and achievements are written
// anew from the managers: each is charged so (addedCost for the achievements).
constexpr Orvex::XMLShape::Child kProfileChildren[] = {
    {L"TUTORIAL", &kTutorialList, 1, true},
    {L"SOLITAIRE_TUTORIALS", &kNameList, 1, true},
    {L"STORY", &kNameList, 1, true},
    {L"KAMPAGNE", &kCampaign, 1, true},
    {L"UNLOCKS", &kNameList, 1, true},
    {L"PROFILE_DATA", &SolitaireManager::kWrittenVariantDataShape, 1, true},
    {L"STATISTIK", &StatistikManager::kWrittenProfileShape, 1, true},
    {AchivementManager::kProfileElement, &AchivementManager::kProfileShape, 1, true},
    {L"WILDCARD", &kOwnedCard, Profil::kMaxOwnedCards, false, cardDropped},
    {L"JOKER", &kOwnedCard, Profil::kMaxOwnedCards, false, cardDropped},
    {L"PERCENT_GODS", &kGodList, 1, true},
};
constexpr Orvex::XMLShape kProfileShape{kProfileKeys, 0, kProfileChildren, Orvex::XMLShape::kMaxText, kProfileWritten};

// Whether the element's campaign holds chapter 0, as reading it finds one; else the campaign
// table adds it, opened with its levels (firstChapterCost).
bool holdsFirstChapter(Orvex::XMLNode const& element) {
    Orvex::XMLNode const* campaign = element.getChild(L"KAMPAGNE");
    if (!campaign) return false;
    for (Orvex::XMLNode const* chapter : campaign->children())
        if (chapter->getName() == L"KAPITEL" && campaignNumber(*chapter, L"KAPITEL") == 0) return true;
    return false;
}

// What the campaign table's chapter 0 is written as: a chapter of as many levels as the
// catalogue's "KAPITEL_0" has variants.
std::size_t firstChapterCost() {
    std::size_t levels = 0;
    if (SolCategorie const* campaign = SolitaireManager::instance().findCategory(SolitaireManager::kCampaignName))
        for (SolSolitaire const* game : campaign->getGames())
            if (game->getName() == L"KAPITEL_0") {
                levels = game->getVariants().size();
                break;
            }
    return kChapter.elementCost(std::wstring_view(L"KAPITEL").size()) + levels * kLevel.elementCost(std::wstring_view(L"LEVEL").size());
}

// What the game writes beside what the shape charges: the first chapter where the element has
// none; its achievements as the registry writes them once it is live, in place of the held ones,
// charged as the larger of the two (so the file saved is charged no more when read again).
std::size_t addedCost(Orvex::XMLNode const& element) {
    std::size_t const added = holdsFirstChapter(element) ? 0 : firstChapterCost();
    std::size_t held = 0;
    if (Orvex::XMLNode const* achievements = element.getChild(AchivementManager::kProfileElement)) {
        Orvex::KeepBudget unbounded(std::numeric_limits<std::size_t>::max());
        AchivementManager::kProfileShape.measure(*achievements, unbounded);
        held = unbounded.used() - AchivementManager::kProfileShape.elementCost(Orvex::XMLNode::savedUnits(achievements->name()));
    }
    std::size_t const written = AchivementManager::instance().profileDataCost();
    return added + (written > held ? written - held : 0);
}

// What a profile keeps of an element that holds more than it keeps (measured: charged `bytes`),
// within its share. Where the share holds all it is charged, only what the game refuses for what
// it is goes (unknown, too long, more than it keeps). Else what the game adds beside the shape's
// charge takes its room first, as the element asks for it; should what is kept ask for more (its
// first chapter or achievements cut), as much as the game can add. Returns how many parts were
// left out; overrun says some were for want of room.
std::size_t keepWithin(Orvex::XMLNode const& element, std::size_t bytes, std::size_t share, Orvex::XMLNode& kept,
                       bool& overrun) {
    Orvex::KeepBudget budget(bytes <= share ? std::numeric_limits<std::size_t>::max()
                                            : share - std::min(share, addedCost(element)));
    std::size_t leftOut = kProfileShape.keep(element, kept, budget);
    if (bytes > share && Profil::measure(kept).bytes > share) {
        budget = Orvex::KeepBudget(share - std::min(share, firstChapterCost() + AchivementManager::instance().profileDataCost()));
        leftOut = kProfileShape.keep(element, kept, budget);
    }
    overrun = budget.overrun();
    return leftOut;
}

void writeStored(Orvex::XMLNode& node, wchar_t const* name, Orvex::XMLNode const& stored) {
    node.addChild(new Orvex::XMLNode(stored))->setName(name);
}

}  // namespace

std::optional<int> Profil::parseCampaignNumber(std::wstring_view text) {
    constexpr std::size_t kDigits = decimalDigits(kMaxCampaignNumber);
    if (text.empty() || text.size() > kDigits || (text[0] == L'0' && text.size() > 1)) return std::nullopt;
    int number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        number = number * 10 + (c - L'0');
    }
    if (number > kMaxCampaignNumber) return std::nullopt;
    return number;
}

Profil::Measure Profil::measure(Orvex::XMLNode const& element) {
    Orvex::KeepBudget unbounded(std::numeric_limits<std::size_t>::max());
    std::size_t const leftOut = kProfileShape.measure(element, unbounded);
    return {unbounded.used() + addedCost(element), leftOut};
}


void Profil::readXML(Orvex::XMLNode& node) { readXML(node, std::wstring(), measure(node), kMaxKeptBytes); }

void Profil::readXML(Orvex::XMLNode& element, std::wstring const& sourceName, Measure const& measured,
                     std::size_t share, Orvex::ReadProblems* fileProblems) {
    ReadProblems problems;
    source_ = sourceName;
    leftOutOnRead_ = readName(element, kMaxNameLength);
    if (leftOutOnRead_)
        problems.add(L"the name is longer than the " + std::to_wstring(kMaxNameLength) +
                         L" characters a player can type; its first ones are kept",
                     element.getLine());
    // An element the profile keeps whole (as the game writes it) is read as it stands; only one
    // that holds more is copied as far as it is kept.
    Orvex::XMLNode kept;
    Orvex::XMLNode const* source = &element;
    if (measured.leftOut > 0 || measured.bytes > share) {
        bool overrun = false;
        std::size_t const leftOut = keepWithin(element, measured.bytes, share, kept, overrun);
        source = &kept;
        leftOutOnRead_ = true;
        problems.add(L"what the game does not keep in a profile is left out: " + std::to_wstring(leftOut) +
                         L" elements, attributes or values (unknown, longer than " +
                         std::to_wstring(Orvex::XMLShape::kMaxText) + L" characters, more than it keeps" +
                         (overrun ? L", or past its share of what the profiles of a file keep, " +
                                                 std::to_wstring(share) + L" bytes"
                                           : L"") +
                         L")",
                     element.getLine());
    }
    Orvex::XMLNode const& node = *source;
    if (Orvex::XMLNode const* tutorials = node.getChild(L"TUTORIAL")) {
        showTutorials_ = tutorials->getAttributeBool(L"SHOW", true);
        appendValues(tutorials, tutorialsSeen_);
    }
    appendValues(node.getChild(L"SOLITAIRE_TUTORIALS"), solitaireTutorialsSeen_);
    appendValues(node.getChild(L"STORY"), storySeen_);

    if (Orvex::XMLNode const* campaign = node.getChild(L"KAMPAGNE")) {
        campaign_.clear();
        for (Orvex::XMLNode const* chapterNode : campaign->children()) {
            if (chapterNode->getName() != L"KAPITEL") continue;
            ChapterRecord chapter;
            if (!readCampaignNumber(*chapterNode, L"KAPITEL", chapter.chapter, problems)) continue;
            if (findChapter(chapter.chapter)) {
                problems.add(L"chapter " + std::to_wstring(chapter.chapter) + L" given twice; the first kept",
                             chapterNode->getLine());
                continue;
            }
            chapter.result = readResult(*chapterNode, ChapterRecord::kMaxResult, problems);
            for (Orvex::XMLNode const* levelNode : chapterNode->children()) {
                if (levelNode->getName() != L"LEVEL") continue;
                LevelRecord level;
                if (!readCampaignNumber(*levelNode, L"LEVEL", level.level, problems)) continue;
                if (findLevel(chapter, level.level)) {
                    problems.add(L"level " + std::to_wstring(level.level) + L" given twice; the first kept", levelNode->getLine());
                    continue;
                }
                level.result = readResult(*levelNode, LevelRecord::kMaxResult, problems);
                level.found = level.foundRun = readCount(*levelNode, L"STARS_FOUND", 0, problems);
                chapter.levels.push_back(level);
            }
            campaign_.push_back(std::move(chapter));
        }
    }

    appendValues(node.getChild(L"UNLOCKS"), unlocks_);
    copyStored(node, L"PROFILE_DATA", profileData_);
    copyStored(node, L"STATISTIK", statistikData_);
    copyStored(node, AchivementManager::kProfileElement, achivementData_);
    readCards(node, L"WILDCARD", wildcards_, problems);
    readCards(node, L"JOKER", jokers_, problems);

    if (Orvex::XMLNode const* gods = node.getChild(L"PERCENT_GODS")) {
        std::size_t i = 0;
        for (Orvex::XMLProperty const* value : gods->values()) {
            std::optional<double> const number = parseFiniteText(value->getString());
            // Past float's range it would be stored as infinity, which the next load refuses.
            if (!number || !std::isfinite(static_cast<float>(*number))) {
                problems.add(L"\"PERCENT_GODS\" value " + Orvex::quotedPiece(value->text()) + L" is not a finite number",
                             gods->getLine());
            } else if (!godPercent_.empty()) {
                godPercent_[std::min(i, godPercent_.size() - 1)] = static_cast<float>(*number);
            }
            ++i;
        }
    }
    if (Orvex::XMLAttribute const* points = node.getAttribute(L"POINTS")) {
        std::optional<double> const number = parseFiniteText(points->getString());
        if (number && std::isfinite(static_cast<float>(*number)))
            points_ = static_cast<float>(*number);
        else
            problems.add(L"\"POINTS\" " + Orvex::quotedPiece(points->text()) + L" is not a finite number", node.getLine());
    }
    if (fileProblems)
        fileProblems->absorb(problems);
    else if (!problems.empty())
        problems.log(L"Profile \"" + getName() + L"\"", sourceName, element.getLine());
}

void Profil::writeXML(Orvex::XMLNode& node) const {
    NamedObject::writeXML(node);
    Orvex::XMLNode* tutorials = node.addChild(L"TUTORIAL");
    tutorials->setAttribute(L"SHOW", showTutorials_ ? L"1" : L"0");
    for (std::wstring const& name : tutorialsSeen_) tutorials->addValue(name);
    writeValues(node, L"SOLITAIRE_TUTORIALS", solitaireTutorialsSeen_);
    writeValues(node, L"STORY", storySeen_);

    Orvex::XMLNode* campaign = node.addChild(L"KAMPAGNE");
    for (ChapterRecord const& chapter : campaign_) {
        if (isUntouched(chapter)) continue;
        Orvex::XMLNode* chapterNode = campaign->addChild(L"KAPITEL");
        chapterNode->setAttribute(L"KAPITEL", std::to_wstring(chapter.chapter));
        chapterNode->setAttribute(L"RESULT", std::to_wstring(chapter.result));
        for (LevelRecord const& level : chapter.levels) {
            Orvex::XMLNode* levelNode = chapterNode->addChild(L"LEVEL");
            levelNode->setAttribute(L"LEVEL", std::to_wstring(level.level));
            levelNode->setAttribute(L"RESULT", std::to_wstring(level.result));
            levelNode->setAttribute(L"STARS_FOUND", std::to_wstring(level.found));
        }
    }

    writeValues(node, L"UNLOCKS", unlocks_);
    writeStored(node, L"PROFILE_DATA", profileData_);
    writeStored(node, L"STATISTIK", statistikData_);
    writeStored(node, AchivementManager::kProfileElement, achivementData_);
    writeCards(node, L"WILDCARD", wildcards_);
    writeCards(node, L"JOKER", jokers_);
    Orvex::XMLNode* gods = node.addChild(L"PERCENT_GODS");
    for (float percent : godPercent_) {
        wchar_t text[48];
        std::swprintf(text, sizeof text / sizeof text[0], L"%.16g", static_cast<double>(percent));
        gods->addValue(text);
    }
    node.setAttribute(L"POINTS", numberText(points_));
}

}  // namespace Solitaire
