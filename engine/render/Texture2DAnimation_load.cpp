// Frame animations: reading a definition node (explicit frames, sheets, order lists, timing
// keys) and finding the textures it names.
#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "port/crt/crt.h"

namespace Orvex {

namespace {

// The numbers of a blank-separated attribute (empty when the attribute is absent), at most limit.
std::vector<float> attributeNumbers(XMLNode const& node, wchar_t const* name,
                                    std::size_t limit = static_cast<std::size_t>(-1)) {
    std::vector<float> numbers;
    XMLAttribute const* a = node.getAttribute(name);
    if (!a) return numbers;
    XMLValueTokens pieces = a->split(L" ");
    for (u32 i = 0; i < pieces.getCount() && numbers.size() < limit; ++i) numbers.push_back(pieces.get(i)->getFloat());
    return numbers;
}

// Elements and values of a tree, counted without recursion.
std::size_t elementsAndValues(XMLNode const& root) {
    std::size_t count = 0;
    std::vector<XMLNode const*> open{&root};
    while (!open.empty()) {
        XMLNode const* node = open.back();
        open.pop_back();
        count += 1 + node->getValueCount();
        for (XMLNode const* child : node->children()) open.push_back(child);
    }
    return count;
}

// Appends the indexes from..to (either direction, both ends included) repeat times, skipping
// indexes outside the source; stops at the length limit.
void appendRange(std::vector<u32>& out, s32 from, s32 to, s64 repeat, u32 count, bool& full) {
    if (count == 0 || repeat <= 0) return;
    s64 const last = static_cast<s64>(count) - 1;
    bool const ascending = from <= to;
    s64 lo = std::max<s64>(ascending ? from : to, 0);
    s64 hi = std::min<s64>(ascending ? to : from, last);
    if (lo > hi) return;
    for (s64 r = 0; r < repeat; ++r) {
        for (s64 k = 0; k <= hi - lo; ++k) {
            if (out.size() >= Texture2DAnimation::kMaxOrderLength) {
                full = true;
                return;
            }
            out.push_back(static_cast<u32>(ascending ? lo + k : hi - k));
        }
    }
}

// One "ORDER" value with a range or a repeat: "[repeat | rand a [b]] x from [- to]".
void parseOrderInstruction(std::wstring const& text, std::vector<u32>& out, u32 count, bool& full) {
    XMLProperty value(text);
    XMLValueTokens pieces = static_cast<XMLProperty const&>(value).split(L" ");
    bool const hasX = text.find(L'x') != std::wstring::npos;
    bool inRepeat = hasX;
    bool randRepeat = false;
    int randCount = 0;
    int randA = 0;
    int randB = 0;
    s64 repeat = 1;
    s32 from = 0;
    s32 to = 1;
    bool second = false;
    for (u32 i = 0; i < pieces.getCount(); ++i) {
        XMLProperty const* piece = pieces.get(i);
        std::wstring const& word = piece->getString();
        if (inRepeat) {
            if (word.find(L'x') != std::wstring::npos) {
                if (randRepeat) repeat = randomIntRounded(randA, randCount >= 2 ? randB : randA);
                inRepeat = false;
            } else if (word == L"rand") {
                randRepeat = true;
            } else if (randRepeat) {
                (randCount++ == 0 ? randA : randB) = piece->getInt();
            } else {
                repeat = piece->getInt();
            }
        } else if (word.find(L'-') != std::wstring::npos) {
            second = true;
        } else if (second) {
            to = piece->getInt();
        } else {
            from = to = piece->getInt();
        }
    }
    appendRange(out, from, to, repeat, count, full);
}

}  // namespace

std::vector<u32> parseFrameOrder(XMLNode const& order, u32 count) {
    std::vector<u32> result;
    bool full = false;
    for (u32 v = 0; v < order.getValueCount() && !full; ++v) {
        std::wstring const& text = order.getValue(v)->getString();
        if (text.find(L'x') == std::wstring::npos && text.find(L'-') == std::wstring::npos) {
            int const index = msvc::wtoi(text);
            if (index >= 0 && static_cast<u32>(index) < count) {
                if (result.size() >= Texture2DAnimation::kMaxOrderLength) {
                    full = true;
                } else {
                    result.push_back(static_cast<u32>(index));
                }
            }
        } else {
            parseOrderInstruction(text, result, count, full);
        }
    }
    if (full) {
        logWarning(L"Frame order list" + atLine(order) + L" longer than " +
                   std::to_wstring(Texture2DAnimation::kMaxOrderLength) +
                   L" frames; the rest is left out");
    }
    if (order.getAttributeBool(L"RANDOM_SHUFFLE", false)) msvc::random_shuffle(result.begin(), result.end());
    return result;
}

bool frameOrderIsRandom(XMLNode const& order) {
    if (order.getAttributeBool(L"RANDOM_SHUFFLE", false)) return true;
    for (u32 v = 0; v < order.getValueCount(); ++v) {
        if (order.getValue(v)->getString().find(L"rand") != std::wstring::npos) return true;
    }
    return false;
}

std::vector<AnimationFrame> applyFrameOrder(XMLNode const& order, std::vector<AnimationFrame> const& source) {
    std::vector<AnimationFrame> result;
    for (u32 index : parseFrameOrder(order, static_cast<u32>(source.size()))) result.push_back(source[index]);
    return result;
}

void Texture2DAnimation::appendFrames(std::vector<AnimationFrame>& out, std::vector<AnimationFrame>&& more,
                                      std::size_t held) const {
    std::size_t const n = frameRoom(held + out.size(), more.size());
    for (std::size_t i = 0; i < n; ++i) out.push_back(std::move(more[i]));
}

std::size_t Texture2DAnimation::frameRoom(std::size_t used, std::size_t wanted) const {
    std::size_t const room = used < kMaxFrames ? kMaxFrames - used : 0;
    if (wanted > room && !frameLimitLogged_) {
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(getLine()) + L": more than " +
                   std::to_wstring(kMaxFrames) +
                   L" frames; the rest is left out");
        frameLimitLogged_ = true;
    }
    return std::min(room, wanted);
}

Texture2D* Texture2DAnimation::findTexture(std::wstring const& name) const {
    if (ownTextures_) {
        if (Texture2D* t = ownTextures_->findTexture(name)) return t;
    }
    return Texture2DAnimationManager::instance().findTexture(name);
}

Texture2D* Texture2DAnimation::findSheetTexture(XMLNode const& sheet) const {
    std::wstring name = sheet.getAttributeString(L"TEXTUR", std::wstring());
    if (name.empty()) name = getName();
    return findTexture(name);
}

AnimationFrame Texture2DAnimation::readExplicitFrame(XMLNode const& node) const {
    AnimationFrame frame;
    std::vector<float> size = attributeNumbers(node, L"FRAME_SIZE");
    if (!size.empty()) frame.width = frame.height = size[0];
    if (size.size() >= 2) frame.height = size[1];
    Texture2D* defaultTexture = nullptr;
    if (XMLAttribute const* a = node.getAttribute(L"TEXTUR")) defaultTexture = findTexture(a->getString());

    for (auto const& child : node.children()) {
        if (child->getName() != L"FRAME_PART") continue;
        AnimationFramePart part;
        Texture2D* tex = defaultTexture;
        if (XMLAttribute const* a = child->getAttribute(L"TEXTUR")) {
            if (Texture2D* own = findTexture(a->getString())) tex = own;
        }
        part.setTexture(tex);
        std::vector<float> tl = attributeNumbers(*child, L"TL");
        if (!tl.empty()) part.tl = D3DXVECTOR2(tl[0], tl.size() >= 2 ? tl[1] : tl[0]);
        std::vector<float> rb = attributeNumbers(*child, L"RB");
        if (!rb.empty()) part.rb = D3DXVECTOR2(rb[0], rb.size() >= 2 ? rb[1] : rb[0]);
        std::vector<float> r = attributeNumbers(*child, L"TEX_RECT");
        if (r.size() >= 1) part.texRect.left = part.texRect.right = frameEdge(r[0]);
        if (r.size() >= 2) part.texRect.top = part.texRect.bottom = frameEdge(r[1]);
        if (r.size() >= 3) part.texRect.right = part.texRect.bottom = frameEdge(r[2]);
        if (r.size() >= 4) part.texRect.bottom = frameEdge(r[3]);
        frame.parts.push_back(std::move(part));
    }
    frame.syncFirstPart();
    return frame;
}

void Texture2DAnimation::readSheetCounts(XMLNode const& params, int& count, int& columns) const {
    count = params.getAttributeInt(L"ANZ_FRAMES", 1);
    columns = params.getAttributeInt(L"SPALTEN", 1);
    if (columns < 1) {
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(params) + L": \"SPALTEN\" " + std::to_wstring(columns) +
                   L" counts as 1");
        columns = 1;
    }
    if (count > kMaxSheetFrames) {
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(params) + L": \"ANZ_FRAMES\" " +
                   std::to_wstring(count) + L" cut to " +
                   std::to_wstring(kMaxSheetFrames));
        count = kMaxSheetFrames;
    }
}

void Texture2DAnimation::readSheet(XMLNode const& sheet, std::vector<AnimationFrame>& out) const {
    Texture2D* tex = findSheetTexture(sheet);
    if (!tex) return;
    RECT const image = tex->getRect();
    XMLNode const* params = sheet.getChild(L"FRAME_PARAMS");
    if (!params) {
        appendFrames(out, {AnimationFrame::fromCell(tex, image)}, 0);
        return;
    }

    int count;
    int columns;
    readSheetCounts(*params, count, columns);
    bool const reverse = params->getAttributeBool(L"REVERSE", false);
    if (count < 1) return;

    double startLeft = image.left;
    double startTop = image.top;
    double cellW;
    double cellH;
    double inset[4] = {0.0, 0.0, 0.0, 0.0};  // left, top, right, bottom
    std::vector<float> cut = attributeNumbers(*params, L"CUT_RAND");
    if (cut.size() >= 1) inset[0] = inset[1] = inset[2] = inset[3] = cut[0];
    if (cut.size() >= 2) inset[1] = inset[3] = cut[1];
    if (cut.size() >= 3) inset[2] = cut[2];
    if (cut.size() >= 4) inset[3] = cut[3];

    std::vector<float> start = attributeNumbers(*params, L"RECT_START");
    if (start.empty()) {
        int const rows = (count - 1) / columns + 1;
        cellW = static_cast<double>(image.right - image.left) / columns;
        cellH = static_cast<double>(image.bottom - image.top) / rows;
    } else {
        start.resize(4, 0.0f);
        // Reduced textures: the start cell and insets are given in image-file pixels.
        D3DXVECTOR2 const scale = tex->getScale();
        double const sx = scale.x;
        double const sy = scale.y;
        startLeft = start[0] * sx;
        startTop = start[1] * sy;
        cellW = (start[2] - start[0]) * sx;
        cellH = (start[3] - start[1]) * sy;
        inset[0] *= sx;
        inset[2] *= sx;
        inset[1] *= sy;
        inset[3] *= sy;
    }

    std::vector<AnimationFrame> cells;
    cells.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        int const k = reverse ? count - 1 - i : i;
        int const row = k / columns;
        int const column = k % columns;
        double const l = std::floor(startLeft + column * cellW + 0.5) + inset[0];
        double const r = std::floor(startLeft + (column + 1) * cellW + 0.5) - inset[2];
        double const t = std::floor(startTop + row * cellH + 0.5) + inset[1];
        double const b = std::floor(startTop + (row + 1) * cellH + 0.5) - inset[3];
        RECT const cell{frameEdge(l), frameEdge(t), frameEdge(r), frameEdge(b)};
        cells.push_back(AnimationFrame::fromCell(tex, cell));
    }
    if (XMLNode const* order = params->getChild(L"ORDER")) cells = applyFrameOrder(*order, cells);
    appendFrames(out, std::move(cells), 0);
}

void Texture2DAnimation::readDesiredSize(XMLNode const& node) {
    std::vector<float> size = attributeNumbers(node, L"DESIRED_SIZE");
    if (!size.empty()) frameSize_.x = size[0];
    if (size.size() >= 2) frameSize_.y = size[1];
}

void Texture2DAnimation::readSpeed(XMLNode const& node) { applySpeed(attributeNumbers(node, L"ANIMSPEED", 2)); }

void Texture2DAnimation::applySpeed(std::vector<float> const& speed) {
    if (speed.size() == 1 && std::isfinite(speed[0])) speed_ = speed[0];
    if (speed.size() >= 2 && std::isfinite(speed[0]) && std::isfinite(speed[1])) speed_ = randomFloat(speed[0], speed[1]);
}

void Texture2DAnimation::readPlayType(XMLNode const& node) { playType_ |= playTypeBits(node); }

u32 Texture2DAnimation::playTypeBits(XMLNode const& node) {
    u32 bits = 0;
    if (XMLAttribute const* a = node.getAttribute(L"PLAY_TYPE")) {
        XMLValueTokens words = a->split(L" ");
        for (u32 i = 0; i < words.getCount(); ++i) {
            std::wstring const& word = words.get(i)->getString();
            if (word == L"ONCE") bits |= kOnce;
            if (word == L"FORWARD_BACKWARD") bits |= kForwardBackward;
        }
    }
    return bits;
}

void Texture2DAnimation::readFrames(XMLNode& node) {
    if (!ownTextures_) {
        ownTextures_ = new TextureManager(getName());
        TextureLoadParams const params(0, 0xFFFFFFFFu, 1, 1);
        if (XMLNode* textures = node.getChild(L"TEXTURES")) ownTextures_->loadTextures(*textures, params);
        if (XMLAttribute const* a = node.getAttribute(L"TEXTURE_FILE")) {
            XMLNode file;
            if (file.load(a->getString())) ownTextures_->loadTextures(file, params);
        }
    }

    XMLNode const* order = node.getChild(L"ORDER");
    framesRandom_ = order && frameOrderIsRandom(*order);
    AnimationFrames& frames = ownFrames();
    std::size_t const before = frames.size();
    std::wstring const what = describe();
    // A file whose budget is spent builds nothing more; a full table reads no more children
    // (the line that frames are left out comes once).
    if (!AnimationFrameBudget::spentOut(what)) {
        for (auto const& child : node.children()) {
            if (child->getName() != L"FRAME") continue;
            if (frameRoom(frames.size(), 1) == 0) break;
            appendFrames(frames, {readExplicitFrame(*child)}, 0);
        }
        for (auto const& child : node.children()) {
            if (child->getName() != L"FRAMES") continue;
            XMLNode const* params = child->getChild(L"FRAME_PARAMS");
            XMLNode const* cellOrder = params ? params->getChild(L"ORDER") : nullptr;
            if (cellOrder && frameOrderIsRandom(*cellOrder)) framesRandom_ = true;
            if (frameRoom(frames.size(), 1) == 0) continue;
            readSheet(*child, frames);
        }
        if (order) frames = applyFrameOrder(*order, frames);
        if (frames.size() > before) {
            std::size_t const built = frames.size() - before;
            std::size_t const kept = AnimationFrameBudget::take(built, what);
            if (kept < built) frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(before + kept), frames.end());
        }
    }

    if (!frames.empty()) {
        RECT const& r = frames.front().rect;
        frameSize_ = D3DXVECTOR2(frameSpan(r.left, r.right), frameSpan(r.top, r.bottom));
    }
    readDesiredSize(node);
    if (XMLAttribute const* a = node.getAttribute(L"REVERSE")) setReversed(a->getBool());
}

void Texture2DAnimation::readPlayStart(XMLNode const& node) {
    applyPlayStart(node.getAttributeBool(L"PLAY", false), attributeNumbers(node, L"START_FRAME", 2));
}

void Texture2DAnimation::applyPlayStart(bool playing, std::vector<float> const& startFrame) {
    if (playing) play();
    if (!startFrame.empty()) {
        float const n = static_cast<float>(frames_->size());
        float const a = std::isfinite(startFrame[0]) ? startFrame[0] : 0.0f;
        position_ = std::min(a, n);
        if (startFrame.size() >= 2) {
            float const b = std::isfinite(startFrame[1]) ? startFrame[1] : 0.0f;
            position_ = randomFloat(position_, std::min(b, n));
        }
    }
}

void Texture2DAnimation::readEvents(XMLNode const& node) {
    auto events = std::make_shared<std::vector<PassingFrameEvent>>();
    for (auto const& child : node.children()) {
        if (child->getName() != L"PASSING_FRAME_EVENT") continue;
        XMLAttribute const* name = child->getAttribute(L"NAME");
        XMLAttribute const* frame = child->getAttribute(L"FRAME_NR");
        if (name && frame) events->push_back(PassingFrameEvent{name->getString(), frame->getInt()});
    }
    events_ = std::move(events);
}

std::wstring Texture2DAnimation::describe() const { return L"animation \"" + getName() + L"\"" + atLine(getLine()); }

std::shared_ptr<Texture2DAnimation::CopyRecipe> Texture2DAnimation::makeRecipe(XMLNode const& node) const {
    auto recipe = std::make_shared<CopyRecipe>();
    if (XMLAttribute const* a = node.getAttribute(L"NAME")) {
        recipe->hasName = true;
        recipe->name = a->getString();
    }
    recipe->speed = attributeNumbers(node, L"ANIMSPEED", 2);
    recipe->hasTerm = node.getAttribute(L"ANIMSPEED_TERM") != nullptr;
    recipe->playType = playTypeBits(node);
    recipe->reverse = node.getAttributeBool(L"REVERSE", false);
    recipe->play = node.getAttributeBool(L"PLAY", false);
    recipe->startFrame = attributeNumbers(node, L"START_FRAME", 2);
    if (!framesRandom_) return recipe;

    // What readFrames reads of a copy's definition (its own textures are the source's).
    XMLNode& frames = recipe->frames;
    frames.setName(node.getName());
    for (wchar_t const* key : {L"DESIRED_SIZE", L"REVERSE"}) {
        if (XMLAttribute const* a = node.getAttribute(key)) frames.setAttribute(key, a->getString());
    }
    std::size_t explicitFrames = 0;
    bool ordered = false;
    for (XMLNode const* child : node.children()) {
        std::wstring const& name = child->getName();
        bool const keep = (name == L"FRAME" && explicitFrames++ < kMaxFrames) || name == L"FRAMES" ||
                          (name == L"ORDER" && !ordered);
        if (!keep) continue;
        ordered = ordered || name == L"ORDER";
        frames.addChild(new XMLNode(*child));
    }
    recipe->frameWork = elementsAndValues(frames);
    return recipe;
}

void Texture2DAnimation::readXML(XMLNode& node) {
    NamedObject::readXML(node);
    definition_.reset();
    recipe_.reset();
    builtFrames_.reset();

    readSpeed(node);
    if (XMLAttribute const* a = node.getAttribute(L"ANIMSPEED_TERM")) {
        std::wstring const file = AnimationFrameBudget::readingFile();
        std::unique_ptr<AnimationTerm const> term =
            compileAnimationTerm(a->getString(), (file.empty() ? L"" : L"\"" + file + L"\": ") + describe());
        termRandom_ = term && term->drawsRandom();
        termNodes_ = term ? term->nodeCount() : 0;
        speedTerm_ = term ? std::make_shared<AnimationFormula const>(std::move(term)) : nullptr;
    }

    if (XMLAttribute const* a = node.getAttribute(L"RELOAD_ON_CLONE")) reloadOnClone_ = a->getBool();
    if (reloadOnClone_) definition_ = std::make_shared<XMLNode const>(node);

    readPlayType(node);
    readFrames(node);
    if (reloadOnClone_) {
        builtFrames_ = frames_;
        recipe_ = makeRecipe(node);
    }
    readPlayStart(node);
    readEvents(node);

    if (!reloadOnClone_ && ownTextures_) {
        ownTextures_->release();
        ownTextures_ = nullptr;
    }
}

}  // namespace Orvex
