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

using Op = AnimationTerm::Op;

struct Word {
    wchar_t const* text;
    Op op;
};

constexpr Word kWords[] = {
    {L"TIME", Op::kTime}, {L"D_TIME", Op::kDTime}, {L"TIME_UP", Op::kTimeUp}, {L"D_TIME_UP", Op::kDTimeUp},
    {L"sin[", Op::kSin},  {L"cos[", Op::kCos},     {L"asin[", Op::kAsin},     {L"acos[", Op::kAcos},
    {L"rand[", Op::kRand}, {L"+", Op::kAdd},       {L"-", Op::kSub},          {L"*", Op::kMul},
    {L"/", Op::kDiv},     {L"MIN", Op::kMin},      {L"MAX", Op::kMax},        {L"MOD", Op::kMod},
};

Op resolve(std::wstring const& token) {
    for (Word const& word : kWords)
        if (token == word.text) return word.op;
    return Op::kNumber;
}

bool isFunction(Op op) { return op >= Op::kSin && op <= Op::kRand; }
bool isOperator(Op op) { return op >= Op::kAdd; }

// What the parser tells apart, resolved once per token.
enum class Kind : u8 { kOpen, kClose, kComma, kBracketClose, kOperator, kFunction, kOther };

Kind kindOf(std::wstring const& token) {
    if (token == L"(") return Kind::kOpen;
    if (token == L")") return Kind::kClose;
    if (token == L",") return Kind::kComma;
    if (token == L"]") return Kind::kBracketClose;
    Op const op = resolve(token);
    if (isOperator(op)) return Kind::kOperator;
    if (isFunction(op)) return Kind::kFunction;
    return Kind::kOther;
}

// The formula as log lines name it.
std::wstring subject(std::wstring const& owner) {
    return owner.empty() ? std::wstring(L"Animation term") : owner + L": speed formula";
}

class TermParser {
public:
    TermParser(std::vector<std::wstring> tokens, std::wstring const& owner)
        : tokens_(std::move(tokens)), owner_(owner) {
        kinds_.reserve(tokens_.size());
        for (std::wstring const& token : tokens_) kinds_.push_back(kindOf(token));
        // The ")" that first brings the depth back below each "(" (or none): the same whatever
        // range the "(" is looked at in, so one table serves every sub-range.
        match_.assign(tokens_.size(), kNone);
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            if (kinds_[i] == Kind::kOpen) {
                open.push_back(i);
            } else if (kinds_[i] == Kind::kClose && !open.empty()) {
                match_[open.back()] = i;
                open.pop_back();
            }
        }
    }

    // Null once the tree has grown past kMaxNodes (then tooBig()).
    std::unique_ptr<AnimationTerm> parse(std::size_t begin, std::size_t end, int depth) {
        if (tooBig_) return nullptr;
        if (depth >= AnimationTerm::kMaxDepth) {
            if (!tooDeepLogged_) {
                logError(subject(owner_) + L" nested deeper than " + std::to_wstring(AnimationTerm::kMaxDepth) +
                         L" levels; the inner part counts as 0");
                tooDeepLogged_ = true;
            }
            return node(L"0");
        }
        while (end - begin >= 2 && kinds_[begin] == Kind::kOpen && kinds_[end - 1] == Kind::kClose &&
               match_[begin] == end - 1) {
            ++begin;
            --end;
        }
        if (begin == end) return node(L"0");
        if (end - begin == 1) return node(tokens_[begin]);

        int parens = 0;
        for (std::size_t i = begin; i < end; ++i) {
            Kind const kind = kinds_[i];
            if (kind == Kind::kOpen) {
                ++parens;
            } else if (kind == Kind::kClose) {
                --parens;
            } else if (parens == 0 && kind == Kind::kOperator) {
                auto made = node(tokens_[i]);
                if (!made) return nullptr;
                made->left = parse(begin, i, depth + 1);
                made->right = parse(i + 1, end, depth + 1);
                return made;
            } else if (parens == 0 && kind == Kind::kFunction) {
                return parseFunction(i, end, depth);
            }
        }
        return node(std::wstring());
    }

    bool tooBig() const { return tooBig_; }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::unique_ptr<AnimationTerm> node(std::wstring const& token) {
        if (++made_ > AnimationTerm::kMaxNodes) {
            tooBig_ = true;
            return nullptr;
        }
        return std::make_unique<AnimationTerm>(token);
    }

    // The function at index at: arguments up to its matching "]" (or the end of the range when
    // the bracket is never closed). The first argument of two goes to right, the last to left.
    std::unique_ptr<AnimationTerm> parseFunction(std::size_t at, std::size_t end, int depth) {
        auto made = node(tokens_[at]);
        if (!made) return nullptr;
        int brackets = 1;
        std::size_t comma = kNone;
        std::size_t close = end;
        for (std::size_t j = at + 1; j < end; ++j) {
            Kind const kind = kinds_[j];
            if (kind == Kind::kFunction) {
                ++brackets;
            } else if (kind == Kind::kBracketClose) {
                if (--brackets == 0) {
                    close = j;
                    break;
                }
            } else if (kind == Kind::kComma && brackets == 1 && comma == kNone) {
                comma = j;
            }
        }
        if (comma != kNone) {
            made->right = parse(at + 1, comma, depth + 1);
            made->left = parse(comma + 1, close, depth + 1);
        } else {
            made->left = parse(at + 1, close, depth + 1);
        }
        return made;
    }

    std::vector<std::wstring> tokens_;
    std::vector<Kind> kinds_;
    std::vector<std::size_t> match_;
    std::wstring const& owner_;
    std::size_t made_ = 0;
    bool tooBig_ = false;
    bool tooDeepLogged_ = false;
};

std::size_t g_evaluations = 0;

double value(std::unique_ptr<AnimationTerm> const& term, AnimationClock const& clock) {
    return term ? term->evaluate(clock) : 0.0;
}

}  // namespace

std::vector<std::wstring> tokenizeAnimationTerm(std::wstring const& text) {
    std::vector<std::wstring> tokens;
    std::wstring word;
    auto flush = [&] {
        if (!word.empty()) tokens.push_back(std::move(word));
        word.clear();
    };
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
                flush();
                tokens.emplace_back(1, c);
                break;
            case L'[':
                // Stays glued to the word before it: "sin[".
                word += c;
                flush();
                break;
            case L' ':
                flush();
                break;
            default:
                word += c;
        }
    }
    flush();
    return tokens;
}

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

AnimationTerm::AnimationTerm(std::wstring text)
    : token(std::move(text)), random(randomDouble(0.0, 1.0)), op(resolve(token)) {
    if (op == Op::kNumber) number = msvc::wtof(token);
}

AnimationTerm::AnimationTerm(AnimationTerm const& other)
    : token(other.token), random(other.random), op(other.op), number(other.number) {
    if (other.left) left = std::make_unique<AnimationTerm>(*other.left);
    if (other.right) right = std::make_unique<AnimationTerm>(*other.right);
}

AnimationTerm::~AnimationTerm() = default;

std::unique_ptr<AnimationTerm> AnimationTerm::redrawn() const {
    auto copy = std::make_unique<AnimationTerm>(token);
    // A compile makes a node before its children: an operator's left operand first, a
    // function's first argument (right) before its last (left).
    auto redraw = [](std::unique_ptr<AnimationTerm> const& part) { return part ? part->redrawn() : nullptr; };
    if (isFunction(op)) {
        copy->right = redraw(right);
        copy->left = redraw(left);
    } else {
        copy->left = redraw(left);
        copy->right = redraw(right);
    }
    return copy;
}

double AnimationTerm::evaluate() const { return evaluate(AnimationClock::fromEngine()); }

double AnimationTerm::evaluate(AnimationClock const& clock) const {
    double result = 0.0;
    switch (op) {
        case Op::kNumber: result = number; break;
        case Op::kTime: result = clock.time; break;
        case Op::kDTime: result = clock.dTime; break;
        case Op::kTimeUp: result = clock.timeUp; break;
        case Op::kDTimeUp: result = clock.dTimeUp; break;
        case Op::kSin: result = std::sin(value(left, clock)); break;
        case Op::kCos: result = std::cos(value(left, clock)); break;
        case Op::kAsin: result = std::asin(value(left, clock)); break;
        case Op::kAcos: result = std::acos(value(left, clock)); break;
        case Op::kRand: {
            double const a = value(left, clock);
            double const b = value(right, clock);
            result = (a - b) * random + b;
            break;
        }
        case Op::kAdd: result = value(left, clock) + value(right, clock); break;
        case Op::kSub: result = value(left, clock) - value(right, clock); break;
        case Op::kMul: result = value(left, clock) * value(right, clock); break;
        case Op::kDiv: result = value(left, clock) / value(right, clock); break;
        case Op::kMin: result = std::min(value(left, clock), value(right, clock)); break;
        case Op::kMax: result = std::max(value(left, clock), value(right, clock)); break;
        case Op::kMod: result = std::fmod(value(left, clock), value(right, clock)); break;
    }
    // Infinity and NaN would run an animation's position off to where no frame is.
    return std::isfinite(result) ? result : 0.0;
}

double AnimationFormula::evaluate(AnimationClock const& clock) const {
    if (!known_ || !(clock == clock_)) {
        ++g_evaluations;
        value_ = term_->evaluate(clock);
        clock_ = clock;
        known_ = true;
    }
    return value_;
}

std::size_t AnimationFormula::evaluations() { return g_evaluations; }

int AnimationTerm::depth() const {
    int l = left ? left->depth() : 0;
    int r = right ? right->depth() : 0;
    return 1 + std::max(l, r);
}

std::size_t AnimationTerm::nodeCount() const {
    return 1 + (left ? left->nodeCount() : 0) + (right ? right->nodeCount() : 0);
}

bool AnimationTerm::drawsRandom() const {
    return op == Op::kRand || (left && left->drawsRandom()) || (right && right->drawsRandom());
}

std::unique_ptr<AnimationTerm> compileAnimationTerm(std::wstring const& text, std::wstring const& owner) {
    if (text.size() > AnimationTerm::kMaxLength) {
        logError(subject(owner) + L" of more than " + std::to_wstring(AnimationTerm::kMaxLength) +
                 L" characters left out");
        return nullptr;
    }
    std::vector<std::wstring> tokens = tokenizeAnimationTerm(text);
    std::size_t const count = tokens.size();
    TermParser parser(std::move(tokens), owner);
    std::unique_ptr<AnimationTerm> root = parser.parse(0, count, 0);
    if (parser.tooBig()) {
        logError(subject(owner) + L" of more than " + std::to_wstring(AnimationTerm::kMaxNodes) +
                 L" nodes left out");
        return nullptr;
    }
    return root;
}

}  // namespace Orvex
