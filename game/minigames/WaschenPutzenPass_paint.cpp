// A cleaning pass: the brush and the coverage count.
#include <algorithm>
#include <cmath>
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "engine/render/Texture2D.h"
#include "game/minigames/WaschenPutzenPass.h"

namespace Solitaire {

namespace {

// The remainder is a fraction of one 1/255 step kept in 32 bits.
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kLargestWord = 4294967295.0;
constexpr float kPercent = 100.0f;

// A channel in whole 1/255 steps: 1 at 1 or more, 0 at 0 or less (and NaN), else truncated.
float quantise(float c) {
    if (c >= 1.0f) return 1.0f;
    if (!(c > 0.0f)) return 0.0f;
    return std::trunc(c * 255.0f) / 255.0f;
}

float unit(float c) { return c >= 0.0f ? (c <= 1.0f ? c : 1.0f) : 0.0f; }

// The remainder's fraction as the 32-bit word it is stored as; what cannot be one (below 0, past 32
// bits, NaN) is held at the nearer end.
Orvex::u32 word(double fraction) {
    double const scaled = fraction * kTwoTo32;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= kLargestWord) return 0xFFFFFFFFu;
    return static_cast<Orvex::u32>(scaled);
}

// A coordinate range of the brush's bounding box, one pixel wider on each side than the radius
// reaches, so rounding in the distance test can leave nothing out; within [0, size).
void boxRange(float centre, float radius, Orvex::u32 size, LONG& from, LONG& to) {
    double const low = std::ceil(static_cast<double>(centre) - radius) - 1.0;
    double const high = std::floor(static_cast<double>(centre) + radius) + 2.0;
    from = static_cast<LONG>(std::clamp(low, 0.0, static_cast<double>(size)));
    to = static_cast<LONG>(std::clamp(high, 0.0, static_cast<double>(size)));
}

}  // namespace

bool WaschenPutzenGame::Pass::paint(D3DXVECTOR2 const& point, float step) {
    dirty = true;
    if (!working || !std::isfinite(point.x) || !std::isfinite(point.y)) return false;
    RECT area{0, 0, 0, 0};
    boxRange(point.x, radius, working->getWidth(), area.left, area.right);
    boxRange(point.y, radius, working->getHeight(), area.top, area.bottom);
    if (area.left >= area.right || area.top >= area.bottom) return false;
    return paintIn(point, step, area);
}

bool WaschenPutzenGame::Pass::paintIn(D3DXVECTOR2 const& point, float step, RECT const& area) {
    if (!lockTextures(area)) return false;
    float const reach = radius * radius;
    D3DXCOLOR const rate(drawColor.r * step * timeFaktor, drawColor.g * step * timeFaktor,
                         drawColor.b * step * timeFaktor, drawColor.a * step * timeFaktor);
    bool const stepping = drawMode == kModeAdd || drawMode == kModeSubtract;
    bool changed = false;
    for (LONG x = area.left; x < area.right; ++x)
        for (LONG y = area.top; y < area.bottom; ++y) {
            float const dx = point.x - static_cast<float>(x);
            float const dy = point.y - static_cast<float>(y);
            if (!(dx * dx + dy * dy <= reach)) continue;
            auto const lx = static_cast<Orvex::u32>(x - area.left);
            auto const ly = static_cast<Orvex::u32>(y - area.top);
            D3DXCOLOR was;
            D3DXCOLOR kept;
            if (!working->getPixel(was, lx, ly) || !remainder->getPixel(kept, lx, ly)) continue;
            D3DXCOLOR now = drawColor;
            if (stepping) {
                // What the last strokes left below a whole step, the same on every channel.
                float const carried = static_cast<float>(static_cast<double>(static_cast<DWORD>(kept)) / kTwoTo32);
                D3DXCOLOR const amount(rate.r + carried, rate.g + carried, rate.b + carried, rate.a + carried);
                D3DXCOLOR const whole(quantise(amount.r), quantise(amount.g), quantise(amount.b), quantise(amount.a));
                // Only the red channel's rest is kept.
                remainder->setPixel(D3DXCOLOR(static_cast<DWORD>(word(static_cast<double>(amount.r) - whole.r))), lx,
                                    ly);
                now = drawMode == kModeAdd ? was + whole : was - whole;
            }
            now = D3DXCOLOR(unit(now.r), unit(now.g), unit(now.b), unit(now.a));
            changed = changed || now.r != was.r || now.g != was.g || now.b != was.b || now.a != was.a;
            working->setPixel(now, lx, ly);
        }
    unlockTextures();
    return changed;
}

bool WaschenPutzenGame::Pass::checkCoverage() {
    if (dirty && working) {
        Orvex::u32 nowClean = 0;
        Orvex::u32 nowUnclean = 0;
        // A texture that cannot be read keeps the last count.
        if (countPixels(*working, nowClean, nowUnclean)) {
            clean = nowClean;
            unclean = nowUnclean;
        }
    }
    if (maskUnclean == 0) {
        // Nothing was left to clean.
        progress = 1.0f;
        done = true;
    } else {
        double const share =
            (static_cast<double>(clean) - static_cast<double>(maskClean)) / static_cast<double>(maskUnclean);
        double const scaled = fertigPercent > 0.0f ? share / fertigPercent : (share > 0.0 ? 1.0 : 0.0);
        progress = static_cast<float>(std::clamp(scaled, 0.0, 1.0));
        double const left = static_cast<double>(unclean) / static_cast<double>(maskUnclean);
        done = 1.0 - fertigPercent > left && static_cast<long long>(unclean) < static_cast<long long>(fertigPixels);
    }
    showProgress();
    return done;
}

void WaschenPutzenGame::Pass::showProgress() {
    Orvex::GUILabel* label = nullptr;
    if (auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(toolWindow.get())) {
        bar->setValue((percentMult * progress + percentOff) * kPercent);
        label = bar->getLabel();
    } else {
        label = dynamic_cast<Orvex::GUILabel*>(toolWindow.get());
    }
    if (!label) return;
    int const percent = static_cast<int>(progress * kPercent);
    Orvex::Text const* text = Orvex::OrvexEngine::getInstance()->getLanguage()->findText(label->getTextId());
    if (!text) {
        label->setText(std::to_wstring(percent) + L"%");
        return;
    }
    std::wstring out;
    text->format(out, percent);
    label->setText(out);
}

}  // namespace Solitaire
