// The engine object's language texts: one manager for the whole program, empty until a text
// list is loaded into it.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"

TEST(EngineLanguage, OneManagerFilledByLoading) {
    Orvex::LanguageManager* language = Orvex::OrvexEngine::getInstance()->getLanguage();
    ASSERT_EQ(language, Orvex::OrvexEngine::getInstance()->getLanguage());
    EXPECT_EQ(language->getCurrentLanguage(), nullptr);
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(LR"(<TEXTE DEF_LANGUAGE="ENG"><TEXT NAME="OK" LANG="ENG">"|Fine|"</TEXT></TEXTE>)"));
    language->load(node);
    EXPECT_EQ(Orvex::OrvexEngine::getInstance()->getLanguage()->getText(L"OK"), L"Fine");
}
