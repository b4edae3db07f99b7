// Property files on disk: loading through the archive orders, and writing the tree as text (tab
// indentation, CR LF) in UTF-16LE with a byte-order mark or in Windows-1252, saved through a
// temporary file that is renamed over the target.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "port/win32/HostPath.h"

namespace Orvex {

namespace {

void openTag(std::wstring& out, XMLNode const& node, std::size_t depth) {
    out.append(depth, L'\t');
    out += L'<';
    out += node.getName();
    for (auto const& a : node.attributes()) {
        out += L' ';
        out += a->getName();
        out += L"=\"";
        out += a->getString();
        out += L'"';
    }
}

}  // namespace

bool XMLNode::load(std::wstring const& fileName, int mode) {
    clear();
    GOBManager const& archives = GOBManager::getInstance();
    File file(fileName);
    if (!file.open(fileName, mode == 0 ? archives.getDefaultOrder() : archives.getDiskOrder())) {
        logWarning(L"Property file \"" + fileName + L"\" not found");
        return false;
    }
    // The file buffer is kept between loads of a thread: the game loads many files in a row into
    // trees it clears in between, and a fresh multi-megabyte block each time would make the
    // allocator merge every small block just freed, which costs more than the parse.
    thread_local std::vector<u8> bytes;
    constexpr std::size_t kKeptBuffer = 16u << 20;
    bool ok = file.readAll(bytes) && loadFromBytes(bytes.data(), bytes.size(), fileName);
    if (bytes.capacity() > kKeptBuffer) std::vector<u8>().swap(bytes);
    if (!ok) clear();
    return ok;
}

std::wstring XMLNode::toText() const {
    std::wstring out;
    struct Frame {
        XMLNode const* node;
        std::size_t nextChild;
    };
    std::vector<Frame> stack;
    auto enter = [&](XMLNode const* node) {
        std::size_t depth = stack.size();
        openTag(out, *node, depth);
        if (node->values_.empty() && node->children_.empty()) {
            // "</>" would read as a closing tag.
            if (node->name_.empty() && node->attributes_.empty()) out += L' ';
            out += L"/>\r\n";
            return;
        }
        out += L">\r\n";
        for (auto const& v : node->values_) {
            out.append(depth + 1, L'\t');
            out += L"\"|";
            out += v->getString();
            out += L"|\"\r\n";
        }
        stack.push_back({node, 0});
    };
    enter(this);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.nextChild < top.node->children_.size()) {
            XMLNode const* child = top.node->children_[top.nextChild++].get();
            enter(child);  // may grow the stack: top is not used after this
            continue;
        }
        XMLNode const* done = top.node;
        stack.pop_back();
        out.append(stack.size(), L'\t');
        out += L"</";
        out += done->name_;
        out += L">\r\n";
    }
    return out;
}

bool XMLNode::save(std::wstring const& path, bool unicode) const {
    std::wstring text = toText();
    std::string bytes;
    if (unicode) {
        bytes = "\xFF\xFE";
        appendUtf16LE(bytes, text);
    } else {
        std::size_t replaced = appendAnsi(bytes, text);
        if (replaced > 0)
            logWarning(L"Property file \"" + path + L"\": " + std::to_wstring(replaced) +
                       L" characters without a Windows-1252 byte written as blanks");
    }

    std::string target = port::hostPath(path);
    std::string temporary = target + ".saving";
    std::FILE* file = openWholeFile(temporary, "wb");
    if (!file) {
        logError(L"Property file \"" + path + L"\" could not be written (cannot create the file)");
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = port::commitFile(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        logError(L"Property file \"" + path + L"\" could not be written; the previous file is unchanged");
        return false;
    }
    return true;
}

}  // namespace Orvex
