// The particle manager: templates by name, spawning, the per-frame update and the draw passes.
#include "game/particles/SolPartikelManager.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/look/ReadProblems.h"
#include "game/look/RenderObjekt.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Solitaire {

namespace {

bool inLayer(SolPartikel const& object, int layer) { return inParticleLayer(object.getLayer(), layer); }

// Updates the list's objects of the layer; objects appended meanwhile are updated in this pass
// too. The finished ones are released and removed, the rest keep their order.
void updateList(std::vector<SolPartikel*>& list, float dt, int layer) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        SolPartikel* object = list[i];
        if (!inLayer(*object, layer)) continue;
        object->update(dt);
        if (object->isFinished()) {
            object->release();
            list[i] = nullptr;
        }
    }
    list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

}  // namespace

SolPartikelManager& SolPartikelManager::instance() {
    static SolPartikelManager manager;
    return manager;
}

SolPartikelManager::~SolPartikelManager() { clear(); }

void SolPartikelManager::clear() {
    Orvex::releaseAll(particles_);
    Orvex::releaseAll(particleTemplates_);
    Orvex::releaseAll(emitters_);
    Orvex::releaseAll(emitterTemplates_);
}

void SolPartikelManager::loadTemplates(Orvex::XMLNode& root, std::wstring const& sourceName) {
    Orvex::AnimationFrameBudget const frames(sourceName);  // the animation lists it names
    // First every template of the file by name, so a "VORLAGE" finds a template defined further
    // down; then their fields, each template after the ones it copies.
    std::vector<PendingTemplate> pending;
    for (Orvex::XMLNode* child : root.children()) {
        if (child->getName() == L"ANIMATIONEN") {
            loadAnimations(*child, sourceName);
            continue;
        }
        bool const emitter = child->getName() == L"EMITTER_VORLAGE";
        if (!emitter && child->getName() != L"PARTIKEL_VORLAGE") continue;
        if (particleTemplates_.size() + emitterTemplates_.size() >= kMaxTemplates) {
            Orvex::logError(L"Particle file \"" + sourceName + L"\": more than " + std::to_wstring(kMaxTemplates) +
                            L" templates; the rest skipped");
            break;
        }
        SolPartikel* object = nullptr;
        if (emitter) {
            auto* made = new SolPartikelEmitter();
            emitterTemplates_.push_back(made);
            object = made;
        } else {
            object = new SolPartikel();
            particleTemplates_.push_back(object);
        }
        object->readXML(*child);
        pending.push_back({object, child, emitter});
    }
    readPendingTemplates(pending, sourceName);
}

std::vector<std::size_t> SolPartikelManager::basesOf(PendingTemplate const& entry, PendingIndex const& indexOf) const {
    std::vector<std::size_t> bases;
    std::wstring const* name = attributeText(*entry.node, L"VORLAGE");
    if (!name) return bases;
    SolPartikel const* found[2] = {findParticleTemplate(*name), entry.emitter ? findEmitterTemplate(*name) : nullptr};
    for (SolPartikel const* base : found) {
        auto const at = base && base != entry.object ? indexOf.find(base) : indexOf.end();
        if (at != indexOf.end()) bases.push_back(at->second);
    }
    return bases;
}

void SolPartikelManager::readPendingTemplates(std::vector<PendingTemplate>& pending, std::wstring const& sourceName) {
    PendingIndex indexOf;
    for (std::size_t i = 0; i < pending.size(); ++i) indexOf.emplace(pending[i].object, i);
    ReadProblems problems;
    enum : char { kUnread, kWaiting, kRead };
    std::vector<char> state(pending.size(), kUnread);
    std::vector<std::size_t> stack;
    for (std::size_t first = 0; first < pending.size(); ++first) {
        if (state[first] != kUnread) continue;
        stack.push_back(first);
        state[first] = kWaiting;
        while (!stack.empty()) {
            PendingTemplate const& entry = pending[stack.back()];
            std::vector<std::size_t> const bases = basesOf(entry, indexOf);
            auto const unread =
                std::find_if(bases.begin(), bases.end(), [&](std::size_t i) { return state[i] == kUnread; });
            if (unread != bases.end()) {
                stack.push_back(*unread);
                state[*unread] = kWaiting;
                continue;
            }
            if (std::wstring const* base = attributeText(*entry.node, L"VORLAGE")) {
                SolPartikel const* particle = findParticleTemplate(*base);
                SolPartikel const* emitter = entry.emitter ? findEmitterTemplate(*base) : nullptr;
                // Itself, or a base still waiting on the way here: the templates copy each other.
                if (particle == entry.object || emitter == entry.object ||
                    std::any_of(bases.begin(), bases.end(), [&](std::size_t i) { return state[i] == kWaiting; }))
                    problems.add(L"\"VORLAGE\" \"" + *base + L"\" leads back to this template", entry.node->getLine());
                else if (!particle && !emitter)
                    problems.add(L"\"VORLAGE\" \"" + *base + L"\" names no template", entry.node->getLine());
            }
            if (entry.emitter) {
                static_cast<SolPartikelEmitter*>(entry.object)->readEmitterTemplate(*entry.node, problems);
                problems.log(L"Emitter template \"" + entry.object->getName() + L"\"", sourceName,
                             entry.node->getLine());
            } else {
                entry.object->readTemplate(*entry.node, problems);
                problems.log(L"Particle template \"" + entry.object->getName() + L"\"", sourceName,
                             entry.node->getLine());
            }
            state[stack.back()] = kRead;
            stack.pop_back();
        }
    }
}

void SolPartikelManager::loadAnimations(Orvex::XMLNode const& node, std::wstring const& sourceName) {
    std::wstring const file = node.getAttributeString(L"FILE", L"");
    if (file.empty() || !Orvex::Texture2DAnimationManager::instance().loadFile(file))
        Orvex::logError(L"Particle file \"" + sourceName + L"\": animation list \"" + file + L"\" not read");
}

void SolPartikelManager::loadFiles() {
    for (std::wstring const file : {L"data\\Level\\Partikel.par", L"data\\Partikel.par"}) {
        Orvex::XMLNode root;
        if (root.load(file)) loadTemplates(root, file);
    }
}

SolPartikelEmitter* SolPartikelManager::startEmitter(std::wstring const& name, D3DXVECTOR2 const& position) {
    SolPartikelEmitter const* found = findEmitterTemplate(name);
    if (!found || !hasRoom()) return nullptr;
    auto* emitter = static_cast<SolPartikelEmitter*>(found->clone());
    emitter->setSpawnMultiplier(StyleSettings::instance().getParticleSpawnMult());
    emitter->start(position, nullptr);
    emitters_.push_back(emitter);
    return emitter;
}

SolPartikel* SolPartikelManager::spawn(std::wstring const& name, D3DXVECTOR2 const& position) {
    return startEmitter(name, position);
}

SolPartikel* SolPartikelManager::spawnOnObject(std::wstring const& name, RenderObjekt* object) {
    SolPartikelEmitter* emitter = startEmitter(name, {0.0f, 0.0f});
    if (emitter) emitter->setAttachedObject(object);
    return emitter;
}

SolPartikel* SolPartikelManager::spawnAt(std::wstring const& name, RenderObjekt& object) {
    return spawnOnObject(name, &object);
}

SolPartikel* SolPartikelManager::spawnFlying(std::wstring const& name, D3DXVECTOR2 const& start,
                                             D3DXVECTOR2 const& end, float const& amplitude, int const& frequency) {
    SolPartikel* emitter = spawnOnObject(name, nullptr);
    if (emitter) emitter->setWave(makeWaveSpline(start, end, amplitude, frequency), SolPartikel::kPathPosition);
    return emitter;
}

void SolPartikelManager::add(SolPartikel* object) {
    if (!object) return;
    if (!hasRoom()) {
        object->release();
        return;
    }
    (object->isEmitter() ? emitters_ : particles_).push_back(object);
}

void SolPartikelManager::update(float const& dt, int layer) {
    updateList(emitters_, dt, layer);
    updateList(particles_, dt, layer);
}

void SolPartikelManager::queueRender(RenderContext const& context, RenderQueue& queue) {
    for (std::vector<SolPartikel*> const* list : {&emitters_, &particles_})
        for (SolPartikel* object : *list)
            if (inLayer(*object, context.particleLayer)) object->queueRender(queue, context);
}

void SolPartikelManager::render(RenderContext const& context) {
    for (std::vector<SolPartikel*> const* list : {&emitters_, &particles_})
        for (SolPartikel* object : *list)
            if (inLayer(*object, context.particleLayer)) object->render(context);
}

SolPartikel const* SolPartikelManager::findTemplate(std::wstring const& name) const {
    if (SolPartikel const* found = findParticleTemplate(name)) return found;
    return findEmitterTemplate(name);
}

SolPartikel const* SolPartikelManager::findParticleTemplate(std::wstring const& name) const {
    return Orvex::findNamedObject(particleTemplates_, name);
}

SolPartikelEmitter const* SolPartikelManager::findEmitterTemplate(std::wstring const& name) const {
    return Orvex::findNamedObject(emitterTemplates_, name);
}

}  // namespace Solitaire
