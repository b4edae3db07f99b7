// The engine object's language texts: one manager for the whole program, empty until a text
// list is loaded into it.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltipParam.h"
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

// Tooltip records and labels look their text ids up in the engine's languages.
TEST(EngineLanguage, TooltipAndLabelTextIdsResolveInTheEnginesLanguages) {
    Orvex::LanguageManager* language = Orvex::OrvexEngine::getInstance()->getLanguage();
    EXPECT_EQ(Orvex::GUITooltipParam::getLanguageSource(), language);
    Orvex::XMLNode texts;
    ASSERT_TRUE(texts.loadFromText(LR"(<TEXTE DEF_LANGUAGE="ENG"><TEXT NAME="TIP" LANG="ENG">"|50% more|"</TEXT></TEXTE>)"));
    language->load(texts);
    Orvex::XMLNode record;
    ASSERT_TRUE(record.loadFromText(LR"(<TOOLTIP TEXT_ID="TIP"/>)"));
    auto* param = new Orvex::GUITooltipParam(record);
    std::wstring text;
    EXPECT_EQ(param->getText(text), L"50% more");
    param->release();
    auto* label = new Orvex::GUILabel(L"l");
    label->setTextId(L"TIP");
    EXPECT_EQ(label->getText(), L"50% more");
    label->release();
}
