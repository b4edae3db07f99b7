// The tutorial tests' window text.
#include "tests/engine/gui/TutorialTestSupport.h"

namespace guitest {

namespace {

std::wstring rectText(float x, float y, float w, float h) {
    return L"<GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(x) + L"\" Y_OFF=\"" + std::to_wstring(y) + L"\"/><SIZE X_OFF=\"" +
           std::to_wstring(w) + L"\" Y_OFF=\"" + std::to_wstring(h) + L"\"/></GUIRECT>";
}

}  // namespace

std::wstring windowText(std::wstring const& name, float x, float y, float w, float h) {
    std::wstring const rect = rectText(x, y, w, h);
    return L"<WINDOW NAME=\"" + name + L"\"><WINDOW_PARAMS>" + rect + L"<ANIMATION_GOAL NAME=\"AN\">" + rect +
           L"</ANIMATION_GOAL><ANIMATION_GOAL NAME=\"AUS\">" + rect +
           L"<OPTIONS VISIBLE=\"0\"/></ANIMATION_GOAL></WINDOW_PARAMS></WINDOW>";
}

std::wstring goalText(std::wstring const& name, float x, float y, float w, float h) {
    return L"<ANIMATION_GOAL NAME=\"" + name + L"\">" + rectText(x, y, w, h) + L"</ANIMATION_GOAL>";
}

}  // namespace guitest
