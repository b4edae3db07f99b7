// Tutorial pages: reading a page element, copying a template, the point pairs, the blend lists.
#include "engine/gui/TutorialPage.h"

#include "engine/core/CopyBudget.h"
#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialRead.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

namespace {

constexpr u32 kAllBits = 0xFFFFFFFFu;

// A cell mask in base 2; anything but the digits 0 and 1 makes it unusable (null).
bool parseMask(std::wstring const& text, u32& out) {
    if (text.empty() || text.size() > 32) return false;
    out = 0;
    for (wchar_t c : text) {
        if (c != L'0' && c != L'1') return false;
        out = (out << 1) | (c == L'1' ? 1u : 0u);
    }
    return true;
}

}  // namespace

bool TutAnimGoal::isFree(bool const (&occupied)[9]) const {
    auto clear = [&](u32 mask) {
        for (int cell = 0; cell < TutorialPage::kCells; ++cell)
            if (occupied[cell] && (mask >> cell & 1u)) return false;
        return true;
    };
    if (allMasks) {
        for (u32 m : masks)
            if (!clear(m)) return false;
        return true;
    }
    for (u32 m : masks)
        if (clear(m)) return true;
    return false;
}

TutBlendList readBlendList(XMLNode const* node) {
    TutBlendList list;
    if (!node) return list;
    for (u32 i = 0; i + 1 < node->getValueCount() && list.size() < TutorialManager::kMaxElements; i += 2)
        list.emplace_back(node->getValue(i)->getStringCopy(), node->getValue(i + 1)->getStringCopy());
    return list;
}

void playBlendList(TutBlendList const& list, double speed) {
    for (auto const& [window, goal] : list)
        if (GUIWindow* w = GUISystem::instance().findWindow(window)) w->animateToGoal(goal, speed, false);
}

TutorialPage::TutorialPage(XMLNode& node, TutorialStrip* strip) : NamedObject(node), owner(strip) {
    if (XMLAttribute* t = node.getAttribute(L"VORLAGE"))
        if (TutorialPage* source = TutorialManager::instance().findPageTemplate(t->getStringCopy()))
            copyTemplate(*source, L"page \"" + getName() + L"\"" + atLine(node));
    readNode(node);
}

TutorialPage::TutorialPage(TutorialPage const& source, TutorialStrip* strip) : NamedObject(source), owner(strip) {
    copyTemplate(source, L"a copy of page \"" + source.getName() + L"\"");
}

void TutorialPage::copyTemplate(TutorialPage const& source, std::wstring const& what) {
    if (!CopyBudget::takeCounted([&source] { return source.copyEntries(); }, what)) return;
    copySettings(source);
    for (TutPointPair const& p : source.points)
        points.push_back({p.start ? new TutPoint(*p.start) : nullptr, p.goal ? new TutPoint(*p.goal) : nullptr});
}

std::size_t TutorialPage::copyEntries() const {
    auto texts = [](std::initializer_list<std::wstring const*> list) {
        std::size_t n = 0;
        for (std::wstring const* t : list) n += CopyBudget::textEntries(*t);
        return n;
    };
    std::size_t n = texts({&preferredGoal, &goalToResize, &windowName, &text, &textId, &labelName, &animationName,
                           &textureName, &animationWindowName, &darkenTexture, &arrowImage, &lastGoal});
    for (TutAnimGoal const& goal : goals) n += CopyBudget::textEntries(goal.name) + goal.masks.size();
    for (TutBlendList const* list : {&blendOnShow, &blendOnHide})
        for (auto const& [window, goal] : *list) n += CopyBudget::textEntries(window) + CopyBudget::textEntries(goal);
    for (TutPointPair const& p : points)
        for (TutPoint const* point : {p.start, p.goal})
            if (point) n += CopyBudget::textEntries(point->getName()) + CopyBudget::textEntries(point->windowName);
    return n + usable.size() / CopyBudget::kCharsPerEntry;
}

// The draw slots are cut by the receiver base (either side of a connection cuts both); no
// window lookup here, as the manager may destroy pages after the GUI system at exit.
TutorialPage::~TutorialPage() {
    clearPoints();
    releaseAnimation();
}

void TutorialPage::copySettings(TutorialPage const& o) {
    blendSpeed = o.blendSpeed;
    placementMode = o.placementMode;
    arrowsAvoided = o.arrowsAvoided;
    fittingGoalsOnly = o.fittingGoalsOnly;
    preferredGoal = o.preferredGoal;
    goalToResize = o.goalToResize;
    extraSizeOffset = o.extraSizeOffset;
    extraSizeFactor = o.extraSizeFactor;
    constantCheck = o.constantCheck;
    windowName = o.windowName;
    goals = o.goals;
    usable = o.usable;
    blendOnShow = o.blendOnShow;
    blendOnHide = o.blendOnHide;
    useTextId = o.useTextId;
    text = o.text;
    textId = o.textId;
    labelName = o.labelName;
    animationName = o.animationName;
    textureName = o.textureName;
    animationWindowName = o.animationWindowName;
    darken = o.darken;
    darkenTexture = o.darkenTexture;
    darkenValue = o.darkenValue;
    arrowInBackground = o.arrowInBackground;
    arrowSize = o.arrowSize;
    arrowModeX = o.arrowModeX;
    arrowModeY = o.arrowModeY;
    arrowImage = o.arrowImage;
    wobble = o.wobble;
    wobbleSpeed = o.wobbleSpeed;
    wobbleLengthHigh = o.wobbleLengthHigh;
    wobbleLengthLow = o.wobbleLengthLow;
    wobbleHeightHigh = o.wobbleHeightHigh;
    wobbleHeightLow = o.wobbleHeightLow;
    maxTimeShown = o.maxTimeShown;
    moveArrow = o.moveArrow;
    moveSpeed = o.moveSpeed;
    moveRelative = o.moveRelative;
    moveAbsolute = o.moveAbsolute;
    lastGoal = o.lastGoal;
}

void TutorialPage::readNode(XMLNode& node) {
    tutorial::noteUnknownKeys(
        node, {L"NAME", L"VORLAGE", L"ANIMGOAL", L"BLENDSPEED", L"MAX_TIME_SHOWN", L"GUIWINDOW", L"TEXT_ID", L"TEXT",
               L"USE_TEXTID", L"TEXT_LABEL", L"ANIMATION", L"TEXTUR", L"ANIM_WINDOW", L"DARKEN_TEX", L"DARKEN_VALUE",
               L"DARKEN", L"PFEIL", L"PFEIL_SIZE", L"CONSTANT_CHECK", L"PFEIL_DRAW_TYPE", L"IN_HG"});
    if (XMLAttribute* g = node.getAttribute(L"ANIMGOAL")) goals.push_back({g->getStringCopy(), {kAllBits}, false});
    tutorial::readNumber(node, L"BLENDSPEED", blendSpeed, 0.0, kMaxMeasure);
    tutorial::readNumber(node, L"MAX_TIME_SHOWN", maxTimeShown);
    windowName = node.getAttributeString(L"GUIWINDOW", windowName);
    if (XMLAttribute* a = node.getAttribute(L"TEXT_ID")) {
        textId = a->getStringCopy();
        useTextId = true;
    }
    if (XMLAttribute* a = node.getAttribute(L"TEXT")) {
        text = a->getStringCopy();
        useTextId = false;
    }
    useTextId = node.getAttributeBool(L"USE_TEXTID", useTextId);
    labelName = node.getAttributeString(L"TEXT_LABEL", labelName);
    if (XMLAttribute* a = node.getAttribute(L"ANIMATION"))
        animationName = a->getStringCopy();
    else
        textureName = node.getAttributeString(L"TEXTUR", textureName);
    animationWindowName = node.getAttributeString(L"ANIM_WINDOW", animationWindowName);
    darkenTexture = node.getAttributeString(L"DARKEN_TEX", darkenTexture);
    tutorial::readNumber(node, L"DARKEN_VALUE", darkenValue, 0.0, 1.0);
    darken = node.getAttributeBool(L"DARKEN", darken);
    arrowImage = node.getAttributeString(L"PFEIL", arrowImage);
    tutorial::readNumber(node, L"PFEIL_SIZE", arrowSize, 0.0, kMaxMeasure);
    constantCheck = node.getAttributeInt(L"CONSTANT_CHECK", constantCheck);
    tutorial::readDrawModes(node, L"PFEIL_DRAW_TYPE", arrowModeX, arrowModeY);
    arrowInBackground = node.getAttributeBool(L"IN_HG", arrowInBackground);

    unsigned pairs = 0;
    bool capped = false;
    forEachChild(node, L"TUT_POINTS", [&](XMLNode& pair) {
        if (points.size() >= TutorialManager::kMaxElements) {
            capped = true;
            return false;
        }
        XMLNode* s = pair.getChild(L"START");
        XMLNode* g = pair.getChild(L"GOAL");
        points.push_back({s ? new TutPoint(*s) : nullptr, g ? new TutPoint(*g) : nullptr});
        ++pairs;
        return true;
    });
    if (capped)
        logWarning(L"tutorial file" + atLine(node) + L": page \"" + getName() + L"\" has more than " +
                   std::to_wstring(TutorialManager::kMaxElements) + L" point pairs; the rest are left out");
    if (XMLNode* g = node.getChild(L"ANIMGOALS", 0)) readGoals(*g);
    if (XMLNode* m = node.getChild(L"MOVE_PFEIL", 0)) readMove(*m);
    if (XMLNode* b = node.getChild(L"BLEND_ON_SHOW", 0)) blendOnShow = readBlendList(b);
    if (XMLNode* b = node.getChild(L"BLEND_ON_HIDE", 0)) blendOnHide = readBlendList(b);
    for (XMLNode* child : node.children()) {
        std::wstring const& n = child->getName();
        if (n != L"TUT_POINTS" && n != L"ANIMGOALS" && n != L"MOVE_PFEIL" && n != L"BLEND_ON_SHOW" &&
            n != L"BLEND_ON_HIDE")
            logWarning(L"tutorial file" + atLine(*child) + L": page \"" + getName() +
                       L"\" has the unknown element \"" + n +
                       L"\"; it is ignored");
    }
}

void TutorialPage::readGoals(XMLNode& g) {
    tutorial::noteUnknownKeys(g, {L"AUSWEICHEN", L"MODE", L"USE_GOAL", L"PFEIL_AUSWEICHEN",
                                  L"AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY", L"EXTRA_SIZE_OFF", L"EXTRA_SIZE_REL",
                                  L"ANIM_GOAL_TO_CHANGE"});
    placementMode = g.getAttributeInt(L"AUSWEICHEN", placementMode);
    placementMode = g.getAttributeInt(L"MODE", placementMode);
    preferredGoal = g.getAttributeString(L"USE_GOAL", preferredGoal);
    arrowsAvoided = g.getAttributeBool(L"PFEIL_AUSWEICHEN", arrowsAvoided);
    fittingGoalsOnly = g.getAttributeBool(L"AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY", fittingGoalsOnly);
    tutorial::readPair(g, L"EXTRA_SIZE_OFF", extraSizeOffset);
    tutorial::readPair(g, L"EXTRA_SIZE_REL", extraSizeFactor);
    goalToResize = g.getAttributeString(L"ANIM_GOAL_TO_CHANGE", goalToResize);
    forEachChild(g, L"ANIMGOAL", [&](XMLNode& goal) {
        if (goals.size() >= TutorialManager::kMaxElements) return false;
        TutAnimGoal record{goal.getAttributeString(L"GOALNAME", L""), {}, false};
        for (u32 i = 0; i < goal.getValueCount() && record.masks.size() < kMaxMasks; ++i) {
            u32 mask = 0;
            if (parseMask(goal.getValue(i)->getStringCopy(), mask))
                record.masks.push_back(mask);
            else
                logWarning(L"tutorial file" + atLine(goal) + L": page \"" + getName() + L"\" goal \"" + record.name +
                           L"\" mask \"" +
                           goal.getValue(i)->getStringCopy() + L"\" is not a mask of 0 and 1; it is left out");
        }
        if (goal.getValueCount() == 0) record.masks.push_back(kAllBits);
        goals.push_back(std::move(record));
        usable.push_back(true);
        return true;
    });
}

void TutorialPage::readMove(XMLNode const& m) {
    tutorial::noteUnknownKeys(m, {L"MOVE_PFEIL", L"SPEED", L"MAX_MOVE_REL", L"MAX_MOVE_ABS", L"WOBBLE",
                                  L"WOBBLE_SPEED", L"WOBBLE_FAKTOR"});
    moveArrow = m.getAttributeBool(L"MOVE_PFEIL", moveArrow);
    tutorial::readNumber(m, L"SPEED", moveSpeed);
    tutorial::readNumber(m, L"MAX_MOVE_REL", moveRelative);
    tutorial::readNumber(m, L"MAX_MOVE_ABS", moveAbsolute);
    wobble = m.getAttributeBool(L"WOBBLE", wobble);
    tutorial::readNumber(m, L"WOBBLE_SPEED", wobbleSpeed);
    // The wobble's lengths and heights (sizes): the first of a pair sets both ends.
    float read[4];
    std::size_t const given = tutorial::readMeasures(m, L"WOBBLE_FAKTOR", read);
    float v[4] = {wobbleLengthHigh, wobbleLengthLow, wobbleHeightHigh, wobbleHeightLow};
    for (std::size_t i = 0; i < given; ++i) {
        v[i] = read[i];
        if (i == 0 || i == 2) v[i + 1] = read[i];
    }
    wobbleLengthHigh = v[0];
    wobbleLengthLow = v[1];
    wobbleHeightHigh = v[2];
    wobbleHeightLow = v[3];
}

void TutorialPage::addPoint(TutPoint* start, TutPoint* goal) {
    if (start) start->addRef();
    if (goal) goal->addRef();
    points.push_back({start, goal});
}

void TutorialPage::clearPoints() {
    std::vector<TutPointPair> old;
    old.swap(points);
    for (TutPointPair& p : old) {
        if (p.start) p.start->release();
        if (p.goal) p.goal->release();
    }
}

TutPoint* TutorialPage::findPointObject(std::wstring const& name) const {
    for (TutPointPair const& p : points) {
        if (p.start && p.start->getName() == name) return p.start;
        if (p.goal && p.goal->getName() == name) return p.goal;
    }
    return nullptr;
}

void TutorialPage::releaseAnimation() {
    if (heldAnimation) heldAnimation->release();
    heldAnimation = nullptr;
}

}  // namespace Orvex
