// RenderManager: the "RP_" console commands and their completions. Replies are German.
#include <sstream>

#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"

namespace Orvex {

namespace {

constexpr wchar_t kSet[] = L"gesetzt";
constexpr wchar_t kRemoved[] = L"entfernt";
constexpr wchar_t kParamNotFound[] = L"Param wurde nicht gefunden";

// The wide stream's default notation: six significant digits.
std::wstring number(float value) {
    std::wostringstream out;
    out << value;
    return out.str();
}

float floatArgument(TypedConsoleCommand const& typed, u32 i) { return static_cast<float>(typed.getArgumentDouble(i)); }

wchar_t const* kindName(u32 kind) {
    if (kind == PostEffect::kVector) return L"VECTOR";
    if (kind == PostEffect::kMatrix) return L"MATRIX";
    if (kind < PostEffect::kKindCount) return L"FLOAT";
    return L"";
}

void offer(std::wstring const& candidate, std::wstring const& typed, std::vector<std::wstring>& offers) {
    if (candidate.compare(0, typed.size(), typed) == 0) offers.push_back(candidate);
}

}  // namespace

void RenderManager::registerCommands() {
    addCommand(new ConsoleCommand(L"RP_POST_addActiveEffect", 1, L"RP_POST_addActiveEffect Name; fügt Posteffekt hinzu"));
    addCommand(
        new ConsoleCommand(L"RP_POST_removeActiveEffect", 1, L"RP_POST_removeActiveEffect Name; entfernt Posteffekt"));
    addCommand(new ConsoleCommand(L"RP_POST_setParamFloat", 2,
                                  L"RP_POST_setParamFloat Name Wert; setzt einen Posteffect Parameter Float"));
    addCommand(new ConsoleCommand(L"RP_POST_setParamVector", 5,
                                  L"RP_POST_setParamVector Name Wert; setzt einen Posteffect Parameter Vector"));
    addCommand(new ConsoleCommand(L"RP_POST_getParamFloat", 1,
                                  L"RP_POST_getParamFloat Name; gibt einen Posteffect Parameter Float"));
    addCommand(new ConsoleCommand(L"RP_POST_getParamVector", 1,
                                  L"RP_POST_getParamVector Name; gibt einen Posteffect Parameter Vector"));
    addCommand(new ConsoleCommand(L"RP_POST_getAllParamListe", 0,
                                  L"RP_POST_getAllParamListe; gibt Liste mit allen Posteffect Parametern"));
    addCommand(new ConsoleCommand(L"RP_skipPosteffects", 1,
                                  L"RP_skipPosteffects 0 - 10; setzt die Posteffektqualität (kleiner ist besser)"));
}

void RenderManager::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    std::wstring const& name = typed.getArgument(0);
    if (command.isNamed(L"RP_POST_addActiveEffect")) {
        addActiveEffect(findPostEffect(name));
        typed.setReply(kSet);
    } else if (command.isNamed(L"RP_POST_removeActiveEffect")) {
        removeActiveEffect(findPostEffect(name));
        typed.setReply(kRemoved);
    } else if (command.isNamed(L"RP_skipPosteffects")) {
        setSkipLevel(static_cast<u32>(typed.getArgumentInt(0)));
        typed.setReply(kSet);
    } else if (command.isNamed(L"RP_POST_setParamFloat")) {
        typed.setReply(setParamFloat(name, floatArgument(typed, 1)) ? kSet : kParamNotFound);
    } else if (command.isNamed(L"RP_POST_setParamVector")) {
        D3DXVECTOR4 const v(floatArgument(typed, 1), floatArgument(typed, 2), floatArgument(typed, 3),
                            floatArgument(typed, 4));
        typed.setReply(setParamVector(name, v) ? kSet : kParamNotFound);
    } else if (command.isNamed(L"RP_POST_getParamFloat")) {
        float value = 0.0f;
        typed.setReply(getParamFloat(name, value) ? L"Wert: " + number(value) : kParamNotFound);
    } else if (command.isNamed(L"RP_POST_getParamVector")) {
        D3DXVECTOR4 v;
        if (!getParamVector(name, v)) {
            typed.setReply(kParamNotFound);
            return;
        }
        std::wstring reply = L"Wert: ";
        for (float c : {v.x, v.y, v.z, v.w}) reply += number(c) + L" ";
        typed.setReply(reply);
    } else if (command.isNamed(L"RP_POST_getAllParamListe")) {
        std::wstring reply;
        for (PostEffectParam const& p : getAllParams()) {
            if (!reply.empty()) reply += L"\n";
            reply += p.mappingString + L" Typ: " + kindName(p.kind);
        }
        typed.setReply(reply);
    }
}

void RenderManager::completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) {
    std::wstring const& start = typed.getArgument(0);
    if (typed.isCommand(L"RP_POST_setParamFloat") || typed.isCommand(L"RP_POST_setParamVector")) {
        bool const vectors = typed.isCommand(L"RP_POST_setParamVector");
        for (PostEffectParam const& p : getAllParams()) {
            bool const isVector = p.kind == PostEffect::kVector;
            if (vectors ? isVector : (!isVector && p.kind != PostEffect::kMatrix)) offer(p.mappingString, start, offers);
        }
    } else if (typed.isCommand(L"RP_POST_addActiveEffect")) {
        for (PostEffect* effect : postEffects_) offer(effect->getName(), start, offers);
    } else if (typed.isCommand(L"RP_POST_removeActiveEffect")) {
        for (PostEffect* effect : postEffectRenderer_.getEffects()) offer(effect->getName(), start, offers);
    }
}

}  // namespace Orvex
