// GUI window templates: copy masks and template records as GUI files write them, copying the
// parts a mask names from a template window, and re-applying the "VORLAGE_POST" templates once
// all GUI data is loaded.
#include "engine/core/XMLProperty.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

namespace {

struct MaskWord {
    wchar_t const* word;
    int bit;
};

constexpr MaskWord kMaskWords[] = {
    {L"POSITION", kCopyPosition}, {L"SIZE", kCopySize},         {L"TEXTURES", kCopyTextures},
    {L"TIMES", kCopyTimes},       {L"COLORS", kCopyColors},     {L"TEXTIDS", kCopyTextIds},
    {L"OPTIONS", kCopyOptions},   {L"ANIMATION_GOALS", kCopyAnimationGoals},
    {L"FONTSTYLES", kCopyFontStyles}, {L"DRAWTYPES", kCopyDrawTypes},
};

}  // namespace

void shareLookTextures(GUITextureSet& to, GUITextureSet const& from) {
    if (&to == &from) return;
    GUITextureSet::assignTexture(to.normal, from.normal);
    GUITextureSet::assignTexture(to.press, from.press);
    GUITextureSet::assignTexture(to.mark, from.mark);
    GUITextureSet::assignTexture(to.pressMark, from.pressMark);
    GUITextureSet::assignTexture(to.disable, from.disable);
    GUITextureSet::assignTexture(to.shape, from.shape);
    GUITextureSet::assignAnimation(to.aniNormal, from.aniNormal);
    GUITextureSet::assignAnimation(to.aniMark, from.aniMark);
}

int parseCopyMask(XMLValueTokens const& words, unsigned const& first, unsigned const& end) {
    int mask = 0;
    for (unsigned i = first; i < words.getCount() && i < end; ++i) {
        XMLProperty const* piece = words.get(i);
        if (!piece) continue;
        std::wstring const& word = piece->getString();
        if (word == L"ALL") {
            mask = kCopyAll;
            continue;
        }
        bool const clear = !word.empty() && word[0] == L'!';
        std::wstring const name = clear ? word.substr(1) : word;
        for (MaskWord const& entry : kMaskWords) {
            if (name != entry.word) continue;
            mask = clear ? (mask & ~entry.bit) : (mask | entry.bit);
            break;
        }
    }
    return mask;
}

GUITemplateRecord parseTemplateRecord(XMLProperty const& text) {
    GUITemplateRecord record;
    XMLValueTokens words = text.split(L" ");
    if (words.getCount() == 0) return record;
    if (XMLProperty const* name = words.get(0)) record.name = name->getString();
    record.mask = parseCopyMask(words, 1, words.getCount());
    return record;
}

namespace {

void copyTextures(GUIDrawOptions& to, GUIDrawOptions const& from) {
    GUITextureSet& t = to.textures;
    GUITextureSet const& f = from.textures;
    shareLookTextures(t, f);
    to.normalSource = from.normalSource;
    to.drawType = from.drawType;
    to.shapeDrawType = from.shapeDrawType;
    to.playAniOnFocus = from.playAniOnFocus;
    to.crossblend = from.crossblend;
    if (f.background) {
        GUITextureSet::assignTexture(t.background, f.background);
        to.backgroundSource = from.backgroundSource;
        to.backDrawType = from.backDrawType;
    }
    if (f.foreground) {
        GUITextureSet::assignTexture(t.foreground, f.foreground);
        to.foregroundSource = from.foregroundSource;
        to.foreDrawType = from.foreDrawType;
    }
}

void copyTimes(GUIDrawOptions& to, GUIDrawOptions const& from) {
    to.activeBlend = from.activeBlend;
    to.inactiveBlend = from.inactiveBlend;
}

}  // namespace

void GUIWindow::copyFromTemplate(GUIWindow* source, int const& mask) {
    // A window serving as its own template would delete the goals it is copying from.
    if (!source || source == this) return;
    HeldRef<GUIWindow> hold(source);
    int const parts = source->templateMask & mask;
    if (parts & kCopyPosition) rect.position = source->rect.position;
    if (parts & kCopySize) {
        rect.size = source->rect.size;
        minSize = source->minSize;
        maxSize = source->maxSize;
    }
    if (parts & kCopyTextures) copyTextures(drawOptions, source->drawOptions);
    if (parts & kCopyTimes) {
        copyTimes(drawOptions, source->drawOptions);
        copyTimes(currentState.drawOptions, source->drawOptions);
        for (GUIAnimationsGoal* goal : goals) copyTimes(goal->drawOptions, source->drawOptions);
    }
    if (parts & kCopyDrawTypes) {
        drawOptions.drawType = source->drawOptions.drawType;
        drawOptions.shapeDrawType = source->drawOptions.shapeDrawType;
        drawOptions.backDrawType = source->drawOptions.backDrawType;
    }
    if (parts & kCopyColors) {
        drawOptions.alpha = source->drawOptions.alpha;
        drawOptions.modulateColor = source->drawOptions.modulateColor;
    }
    if (parts & kCopyOptions) {
        options = source->options;
        for (GUITooltipParam* param : source->tooltipParams) {
            auto* copy = new GUITooltipParam(*param);
            copy->setWindow(this);
            tooltipParams.push_back(copy);
        }
    }
    if (parts & kCopyAnimationGoals) {
        for (GUIAnimationsGoal* goal : goals) delete goal;
        goals.clear();
        for (GUIAnimationsGoal const* goal : source->goals) goals.push_back(new GUIAnimationsGoal(*goal));
        defaultGoal = source->defaultGoal;
        currentState = source->currentState;
    }
}

void GUIWindow::applyTemplateByName(GUITemplateRecord const& record) {
    if (record.name.empty()) return;
    if (GUIWindow* source = GUISystem::instance().findTemplate(record.name)) copyFromTemplate(source, record.mask);
}

void GUIWindow::reapplyTemplates() {
    HeldRef<GUIWindow> hold(this);
    applyTemplateByName(templatePost);
    HeldList<GUIWindow> snapshot(children);
    for (GUIWindow* child : snapshot)
        if (child->parent == this) child->reapplyTemplates();
}

}  // namespace Orvex
