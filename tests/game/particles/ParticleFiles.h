// Particle files for the particle tests: a fixture that empties the manager around each test and
// loads particle files from text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace particletest {

class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager().clear();
        Solitaire::StyleSettings::instance().setParticleSpawnMult(1.0f);
    }
    void TearDown() override {
        manager().clear();
        // The shipped file registers its animations; later tests start from an empty registry.
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
        Solitaire::StyleSettings::instance().setParticleSpawnMult(1.0f);
    }
    static Solitaire::SolPartikelManager& manager() { return Solitaire::SolPartikelManager::instance(); }
    static void load(std::wstring const& body, std::wstring const& file = L"test.par") {
        Orvex::XMLNode root;
        ASSERT_TRUE(root.loadFromText(L"<PARTIKEL_DATEI>" + body + L"</PARTIKEL_DATEI>", file));
        manager().loadTemplates(root, file);
    }
    // Updates everything n times by dt.
    static void run(int n, float dt) {
        for (int i = 0; i < n; ++i) manager().update(dt, -1);
    }
    static std::size_t particles() { return manager().liveParticles().size(); }
    static std::size_t emitters() { return manager().liveEmitters().size(); }
};

}  // namespace particletest
