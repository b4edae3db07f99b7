// Story scenes: reading the "STORY_PART" element and linking its elements.
#include "game/story/StoryPart.h"

#include <limits>

#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "game/story/StoryPartPart.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

std::wstring partText(Orvex::XMLNode const& node, std::wstring_view key) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    return attribute ? attribute->getStringCopy() : std::wstring();
}

StorySwitchParam readParam(Orvex::XMLNode const& node, ReadProblems& problems) {
    StorySwitchParam p;
    p.partName = partText(node, L"PART_PART_NAME");
    readInt(node, L"USE_DRAW_RECT", p.useDrawRect, kIntMin, kIntMax, problems);
    readInt(node, L"USE_TEX_RECT", p.useTexRect, kIntMin, kIntMax, problems);
    readInt(node, L"USE_COLOR", p.useColor, kIntMin, kIntMax, problems);
    readBool(node, L"VISIBLE", p.visible);
    readFloat(node, L"SPEED", p.speed, problems);
    readFloat(node, L"UEBERSCHWING_PERC", p.overshootPercent, problems);
    readFloat(node, L"UEBERSCHWING_TIME", p.overshootTime, problems);
    readBool(node, L"START_EMITTER", p.startEmitter);
    readBool(node, L"STOP_EMITTER", p.stopEmitter);
    readBool(node, L"START_SOUND", p.startSound);
    readBool(node, L"STOP_SOUND", p.stopSound);
    readBool(node, L"START_MUSIK", p.startMusic);
    readBool(node, L"STOP_MUSIK", p.stopMusic);
    readBool(node, L"START_STD_MUSIK", p.startStandardMusic);
    readBool(node, L"STOP_STD_MUSIK", p.stopStandardMusic);
    return p;
}

}  // namespace

StoryPart::StoryPart(Orvex::XMLNode& node, std::wstring const& source) : NamedObject(node) {
    ReadProblems problems;
    readStoryChildren(node, L"SWITCH", kMaxSwitches, problems, [&](Orvex::XMLNode& child) { readSwitch(child, problems); });
    readStoryChildren(node, L"PART_PART", kMaxParts, problems,
                      [&](Orvex::XMLNode& child) { parts.emplace_back().adopt(new StoryPartPart(child, source)); });
    appendStoryValues(node.getChild(L"NEEDED_UNLOCKS", 0), neededUnlocks, kMaxNames, problems);
    if (Orvex::XMLNode* p = node.getChild(L"START_END_PARAM", 0)) readParams(*p, problems);
    readStoryNameList(node, L"UNLOCK_POST", unlockPost, kMaxNames, problems);
    readStoryNameList(node, L"UNLOCK_PRE", unlockPre, kMaxNames, problems);
    readStoryNameList(node, L"UNLOCK_TMP_POST", unlockTmpPost, kMaxNames, problems);
    readStoryNameList(node, L"UNLOCK_TMP_PRE", unlockTmpPre, kMaxNames, problems);
    readStoryNameList(node, L"UNLOCK_POST_POST", unlockPostPost, kMaxNames, problems);
    readStoryNameList(node, L"UNLOCK_TMP_POST_POST", unlockTmpPostPost, kMaxNames, problems);
    readBool(node, L"UNLOCK_TMP", unlockTmp);
    readFloat(node, L"SPEEDMULT", speedMult, problems);
    skipPart = partText(node, L"SKIP_PART");
    problems.log(L"Story scene \"" + getName() + L"\"", source, node.getLine());
    linkParts(source);
}

// Out of line: the elements are complete here.
StoryPart::StoryPart() = default;
StoryPart::~StoryPart() = default;

void StoryPart::readSwitch(Orvex::XMLNode& node, ReadProblems& problems) {
    StorySwitch s;
    readInt(node, L"SWITCH_AT", s.switchAt, kIntMin, kIntMax, problems);
    readFloat(node, L"TIMER", s.timer, problems);
    s.playSound = partText(node, L"PLAY_SOUND");
    readStoryChildren(node, L"SWITCH_PARM", kMaxParams, problems,
                      [&](Orvex::XMLNode& child) { s.params.push_back(readParam(child, problems)); });
    if ((s.switchAt & (StorySwitch::kOnTimer | StorySwitch::kOnClick)) == 0)
        Orvex::logWarning(L"Story scene \"" + getName() + L"\"" + Orvex::atLine(node) + L": switch " +
                          std::to_wstring(switches.size()) +
                          L" moves on neither after its timer nor on a click; only the skip element or the end "
                          L"button leave it");
    switches.push_back(std::move(s));
}

void StoryPart::readParams(Orvex::XMLNode& node, ReadProblems& problems) {
    StorySceneParams& p = params;
    p.onStartMenu = partText(node, L"ON_START_MENU");
    p.onEndMenu = partText(node, L"ON_END_MENU");
    readBool(node, L"START_NEXT_LEVEL", p.startNextLevel);
    readBool(node, L"START_LEVEL", p.startLevel);
    readInt(node, L"LEVEL", p.level, kIntMin, kIntMax, problems);
    readInt(node, L"CHAPTER", p.chapter, kIntMin, kIntMax, problems);
    p.tutorial = partText(node, L"TUTORIAL");
    readBool(node, L"START_TUTORIAL", p.startTutorial);
    readInt(node, L"MINIGAME", p.minigame, kIntMin, kIntMax, problems);
    readBool(node, L"START_MINIGAME", p.startMinigame);
    appendStoryValues(node.getChild(L"GEBAEUDE", 0), p.gebaeude, kMaxRecords, problems);
    readBool(node, L"BUILD_GEBAEUDE", p.buildGebaeude);
    readBool(node, L"BUILD_GEBAEUDE_AT_END", p.buildGebaeudeAtEnd);
    readStoryChildren(node, L"BLEND_GUI", kMaxRecords, problems, [&](Orvex::XMLNode& child) {
        StorySceneParams::BlendGui blend;
        blend.guiName = partText(child, L"GUI_NAME");
        blend.goal = partText(child, L"GOAL");
        readFloat(child, L"SPEED", blend.speed, problems);
        p.blendGui.push_back(std::move(blend));
    });
    readStoryChildren(node, L"ACHIVEMENT", kMaxRecords, problems, [&](Orvex::XMLNode& child) {
        if (!child.getAttribute(L"ACHIVEMENT") || !child.getAttribute(L"INC_ACHIVEMENT")) return;
        StorySceneParams::AchievementIncrement entry;
        entry.name = partText(child, L"ACHIVEMENT");
        std::size_t const before = problems.size();
        readFloat(child, L"INC_ACHIVEMENT", entry.increment, problems);
        if (problems.size() == before) p.achievementIncrements.push_back(std::move(entry));
    });
}

void StoryPart::linkParts(std::wstring const& source) {
    for (auto const& ref : parts) {
        StoryPartPart* part = ref.get();
        part->relativeTo = nullptr;
        if (part->relativeToName.empty()) continue;
        StoryPartPart* target = findPart(part->relativeToName);
        if (!target) continue;
        // Following the target's links back to this element would close a cycle.
        StoryPartPart const* walk = target;
        std::size_t steps = 0;
        while (walk && walk != part && steps++ <= parts.size()) walk = walk->relativeTo;
        if (walk == part) {
            Orvex::logError(L"Story scene \"" + getName() + L"\"" + (source.empty() ? L"" : L" in \"" + source + L"\"") +
                            Orvex::atLine(part->getLine()) + L": element \"" + part->getName() +
                            L"\" placed in \"" + part->relativeToName +
                            L"\" would close a cycle; it is placed in the story window");
            continue;
        }
        part->relativeTo = target;
    }
}

StoryPartPart* StoryPart::findPart(std::wstring const& name) const {
    return Orvex::findNamedObject(parts, name);
}

}  // namespace Solitaire
