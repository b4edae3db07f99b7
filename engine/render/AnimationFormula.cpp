// Compiler and evaluator of the animation formula language (see AnimationFormula.h).
#include "engine/render/AnimationFormula.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/Random.h"
#include "port/crt/crt.h"

namespace Orvex {

namespace {

bool isOperator(std::wstring const& t) {
    return t == L"+" || t == L"-" || t == L"*" || t == L"/" || t == L"MIN" || t == L"MAX" || t == L"MOD";
}

bool isFunction(std::wstring const& t) {
    return t == L"sin[" || t == L"cos[" || t == L"asin[" || t == L"acos[" || t == L"rand[";
}

class TermParser {
public:
    explicit TermParser(std::vector<std::wstring> tokens) : tokens_(std::move(tokens)) {
        // The ")" that first brings the depth back below each "(" (or none): the same whatever
        // range the "(" is looked at in, so one table serves every sub-range.
        match_.assign(tokens_.size(), kNone);
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            if (tokens_[i] == L"(") {
                open.push_back(i);
            } else if (tokens_[i] == L")" && !open.empty()) {
                match_[open.back()] = i;
                open.pop_back();
            }
        }
    }

    std::unique_ptr<AnimationTerm> parse(std::size_t begin, std::size_t end, int depth) {
        if (depth >= AnimationTerm::kMaxDepth) {
            if (!tooDeepLogged_) {
                logError(L"Animation term nested deeper than " + std::to_wstring(AnimationTerm::kMaxDepth) +
                         L" levels; the inner part counts as 0");
                tooDeepLogged_ = true;
            }
            return std::make_unique<AnimationTerm>(L"0");
        }
        while (end - begin >= 2 && tokens_[begin] == L"(" && tokens_[end - 1] == L")" && match_[begin] == end - 1) {
            ++begin;
            --end;
        }
        if (begin == end) return std::make_unique<AnimationTerm>(L"0");
        if (end - begin == 1) return std::make_unique<AnimationTerm>(tokens_[begin]);

        int parens = 0;
        for (std::size_t i = begin; i < end; ++i) {
            std::wstring const& t = tokens_[i];
            if (t == L"(") {
                ++parens;
            } else if (t == L")") {
                --parens;
            } else if (parens == 0 && isOperator(t)) {
                auto node = std::make_unique<AnimationTerm>(t);
                node->left = parse(begin, i, depth + 1);
                node->right = parse(i + 1, end, depth + 1);
                return node;
            } else if (parens == 0 && isFunction(t)) {
                return parseFunction(i, end, depth);
            }
        }
        return std::make_unique<AnimationTerm>(std::wstring());
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The function at index at: arguments up to its matching "]" (or the end of the range when
    // the bracket is never closed). The first argument of two goes to right, the last to left.
    std::unique_ptr<AnimationTerm> parseFunction(std::size_t at, std::size_t end, int depth) {
        auto node = std::make_unique<AnimationTerm>(tokens_[at]);
        int brackets = 1;
        std::size_t comma = kNone;
        std::size_t close = end;
        for (std::size_t j = at + 1; j < end; ++j) {
            std::wstring const& t = tokens_[j];
            if (isFunction(t)) {
                ++brackets;
            } else if (t == L"]") {
                if (--brackets == 0) {
                    close = j;
                    break;
                }
            } else if (t == L"," && brackets == 1 && comma == kNone) {
                comma = j;
            }
        }
        if (comma != kNone) {
            node->right = parse(at + 1, comma, depth + 1);
            node->left = parse(comma + 1, close, depth + 1);
        } else {
            node->left = parse(at + 1, close, depth + 1);
        }
        return node;
    }

    std::vector<std::wstring> tokens_;
    std::vector<std::size_t> match_;
    bool tooDeepLogged_ = false;
};

double value(std::unique_ptr<AnimationTerm> const& term, AnimationClock const& clock) {
    return term ? term->evaluate(clock) : 0.0;
}

}  // namespace

AnimationClock AnimationClock::fromEngine() {
    PerfTimer* timer = &PerfTimer::frameTimer();
    AnimationClock clock;
    clock.time = timer->getGameTime();
    clock.dTime = timer->getGameDelta();
    clock.timeUp = timer->getRealTime();
    clock.dTimeUp = timer->getRealDelta();
    return clock;
}

AnimationTerm::AnimationTerm() : random(randomDouble(0.0, 1.0)) {}

AnimationTerm::AnimationTerm(std::wstring text) : token(std::move(text)), random(randomDouble(0.0, 1.0)) {}

AnimationTerm::AnimationTerm(AnimationTerm const& other) : token(other.token), random(other.random) {
    if (other.left) left = std::make_unique<AnimationTerm>(*other.left);
    if (other.right) right = std::make_unique<AnimationTerm>(*other.right);
}

AnimationTerm::~AnimationTerm() = default;

double AnimationTerm::evaluate() const { return evaluate(AnimationClock::fromEngine()); }

double AnimationTerm::evaluate(AnimationClock const& clock) const {
    double result;
    if (token == L"TIME") {
        result = clock.time;
    } else if (token == L"D_TIME") {
        result = clock.dTime;
    } else if (token == L"TIME_UP") {
        result = clock.timeUp;
    } else if (token == L"D_TIME_UP") {
        result = clock.dTimeUp;
    } else if (token == L"sin[") {
        result = std::sin(value(left, clock));
    } else if (token == L"cos[") {
        result = std::cos(value(left, clock));
    } else if (token == L"asin[") {
        result = std::asin(value(left, clock));
    } else if (token == L"acos[") {
        result = std::acos(value(left, clock));
    } else if (token == L"rand[") {
        double a = value(left, clock);
        double b = value(right, clock);
        result = (a - b) * random + b;
    } else if (token == L"+") {
        result = value(left, clock) + value(right, clock);
    } else if (token == L"-") {
        result = value(left, clock) - value(right, clock);
    } else if (token == L"*") {
        result = value(left, clock) * value(right, clock);
    } else if (token == L"/") {
        result = value(left, clock) / value(right, clock);
    } else if (token == L"MIN") {
        result = std::min(value(left, clock), value(right, clock));
    } else if (token == L"MAX") {
        result = std::max(value(left, clock), value(right, clock));
    } else if (token == L"MOD") {
        result = std::fmod(value(left, clock), value(right, clock));
    } else {
        result = msvc::wtof(token);
    }
    // Infinity and NaN would run an animation's position off to where no frame is.
    return std::isfinite(result) ? result : 0.0;
}

int AnimationTerm::depth() const {
    int l = left ? left->depth() : 0;
    int r = right ? right->depth() : 0;
    return 1 + std::max(l, r);
}

std::size_t AnimationTerm::nodeCount() const {
    return 1 + (left ? left->nodeCount() : 0) + (right ? right->nodeCount() : 0);
}

bool AnimationTerm::drawsRandom() const {
    return token == L"rand[" || (left && left->drawsRandom()) || (right && right->drawsRandom());
}

std::vector<std::wstring> tokenizeAnimationTerm(std::wstring const& text) {
    std::wstring spaced;
    spaced.reserve(text.size() * 2);
    for (wchar_t c : text) {
        switch (c) {
            case L'(':
            case L')':
            case L'+':
            case L'-':
            case L'*':
            case L'/':
            case L']':
            case L',':
                spaced += L' ';
                spaced += c;
                spaced += L' ';
                break;
            case L'[':
                spaced += L"[ ";
                break;
            default:
                spaced += c;
        }
    }
    std::vector<std::wstring> tokens;
    std::size_t start = 0;
    while (start <= spaced.size()) {
        std::size_t blank = spaced.find(L' ', start);
        if (blank == std::wstring::npos) blank = spaced.size();
        if (blank > start) tokens.push_back(spaced.substr(start, blank - start));
        start = blank + 1;
    }
    return tokens;
}

std::unique_ptr<AnimationTerm> compileAnimationTerm(std::wstring const& text) {
    std::vector<std::wstring> tokens = tokenizeAnimationTerm(text);
    std::size_t count = tokens.size();
    TermParser parser(std::move(tokens));
    return parser.parse(0, count, 0);
}

}  // namespace Orvex
