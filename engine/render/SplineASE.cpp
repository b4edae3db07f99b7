// The ASE shape-vertex reader.
#include "engine/render/SplineASE.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "engine/core/Logger.h"

namespace Orvex {

namespace {

constexpr std::wstring_view kShapeObject = L"*SHAPEOBJECT";
constexpr std::wstring_view kAnyVertex = L"*SHAPE_VERTEX_";
constexpr std::wstring_view kKnot = L"*SHAPE_VERTEX_KNOT";
// Words longer than this are no numbers (nor keywords) of ours.
constexpr std::size_t kMaxNumberLength = 64;

bool isSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

// The ASCII text of a number word, or empty when it holds anything else.
std::string asciiWord(std::wstring_view word) {
    if (word.empty() || word.size() > kMaxNumberLength) return {};
    std::string out;
    out.reserve(word.size());
    for (wchar_t c : word) {
        if (c <= 0 || c > 0x7E) return {};
        out.push_back(static_cast<char>(c));
    }
    if (out[0] == '+') out.erase(0, 1);
    return out;
}

bool parseFloat(std::wstring_view word, float& value) {
    std::string const text = asciiWord(word);
    if (text.empty()) return false;
    double read = 0.0;
    auto const [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max()) return false;
    value = static_cast<float>(read);
    return true;
}

bool parseIndex(std::wstring_view word, s32& value) {
    std::string const text = asciiWord(word);
    if (text.empty()) return false;
    auto const [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

class Reader {
public:
    Reader(std::wstring_view text, AseReadResult& out) : text_(text), out_(out) {}

    void problem(std::size_t at, std::wstring const& what) {
        if (out_.problemCount++ > 0) return;
        out_.firstProblem = what;
        out_.firstProblemLine = lineOf(at);
    }

    // Line number of a position, counted on from the last position asked for (positions only
    // grow while reading, so the whole text is walked once).
    std::size_t lineOf(std::size_t at) {
        for (; countedTo_ < at && countedTo_ < text_.size(); ++countedTo_)
            if (text_[countedTo_] == L'\n') ++line_;
        return line_;
    }

private:
    std::wstring_view text_;
    AseReadResult& out_;
    std::size_t countedTo_ = 0;
    std::size_t line_ = 1;
};

// The piece of text to read: [begin, end) of the shape's block, or all of it.
std::pair<std::size_t, std::size_t> shapeBlock(std::wstring_view text, std::wstring const& shapeName, bool& found) {
    found = shapeName.empty();
    if (shapeName.empty()) return {0, text.size()};
    std::wstring const wanted = L"*NODE_NAME \"" + shapeName + L"\"";
    // Pieces start at 0 and at every "*SHAPEOBJECT" after it.
    for (std::size_t begin = 0;;) {
        std::size_t const next = text.find(kShapeObject, begin + 1);
        std::size_t const end = next == std::wstring_view::npos ? text.size() : next;
        if (text.substr(begin, end - begin).find(wanted) != std::wstring_view::npos) {
            found = true;
            return {begin, end};
        }
        if (next == std::wstring_view::npos) return {0, text.size()};
        begin = next;
    }
}

}  // namespace

void readAseVertices(std::wstring_view text, std::wstring const& shapeName, bool withInterpolated, u32 maxVertices,
                     AseReadResult& out) {
    out = AseReadResult();
    Reader reader(text, out);
    auto const [begin, end] = shapeBlock(text, shapeName, out.shapeFound);
    std::wstring_view const keyword = withInterpolated ? kAnyVertex : kKnot;
    bool full = false;
    // The next line feed is looked up again only once a keyword lies beyond it, and a word ends
    // the line once it is longer than any number: a text of keywords without line feeds or
    // blanks is then read in one pass instead of once per keyword.
    std::size_t newline = 0;
    bool newlineKnown = false;
    for (std::size_t at = text.find(keyword, begin); at != std::wstring_view::npos && at < end;
         at = text.find(keyword, at + keyword.size())) {
        if (!newlineKnown || newline < at) {
            newline = text.find(L'\n', at);
            if (newline == std::wstring_view::npos) newline = text.size();
            newlineKnown = true;
        }
        std::size_t const lineEnd = newline < end ? newline : end;
        std::wstring_view words[5];
        std::size_t count = 0;
        bool tooLong = false;
        for (std::size_t p = at; p < lineEnd && count < 5 && !tooLong;) {
            while (p < lineEnd && isSeparator(text[p])) ++p;
            std::size_t const start = p;
            while (p < lineEnd && !isSeparator(text[p]) && p - start <= kMaxNumberLength) ++p;
            tooLong = p - start > kMaxNumberLength;
            if (p > start && !tooLong) words[count++] = text.substr(start, p - start);
        }
        if (tooLong) {
            reader.problem(at, L"vertex line with an overlong word");
            continue;
        }
        AseVertex vertex;
        if (count < 5) {
            reader.problem(at, L"vertex line with " + std::to_wstring(count) + L" of 5 words");
            continue;
        }
        if (!parseIndex(words[1], vertex.index) || !parseFloat(words[2], vertex.x) || !parseFloat(words[3], vertex.y) ||
            !parseFloat(words[4], vertex.z)) {
            reader.problem(at, L"vertex line with a malformed number");
            continue;
        }
        if (out.vertices.size() >= maxVertices) {
            if (!full) reader.problem(at, L"more than " + std::to_wstring(maxVertices) + L" vertices");
            full = true;
            continue;
        }
        out.vertices.push_back(vertex);
    }
}

void logAseProblems(AseReadResult const& result, std::wstring const& fileName) {
    if (result.problemCount == 0) return;
    std::wstring line = L"ASE file \"" + fileName + L"\": " + result.firstProblem + L" at line " +
                        std::to_wstring(result.firstProblemLine);
    if (result.problemCount > 1) line += L" (" + std::to_wstring(result.problemCount - 1) + L" further problems)";
    logError(line + L"; skipped");
}

}  // namespace Orvex
