// Archive registry, search orders and the disk search.
#include "engine/core/GOBManager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/core/Paths.h"
#include "engine/core/Utils.h"
#include "port/win32/win32_paths.h"

namespace Orvex {

GOBManager& GOBManager::getInstance() {
    static GOBManager instance;
    return instance;
}

GOBManager::GOBManager() {
    diskOrder_.name = L"DISK";
    diskOrder_.entries.push_back(nullptr);
    rebuildOrders();
}

void GOBManager::addArchive(GOBFile* archive) {
    if (!archive) return;
    for (auto const& a : archives_)
        if (a.get() == archive) return;
    archives_.emplace_back(archive);
    rebuildOrders();
}

void GOBManager::rebuildOrders() {
    std::vector<GOBFile*> sorted;
    for (auto const& a : archives_) sorted.push_back(a.get());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](GOBFile const* a, GOBFile const* b) { return a->getOrderIndex() < b->getOrderIndex(); });
    orders_.clear();
    GOBOrder all{L"DEFAULT", sorted};
    all.entries.push_back(nullptr);
    orders_.push_back(std::move(all));
    for (GOBFile* archive : sorted) {
        if (archive->getName() == L"DEFAULT") continue;
        orders_.push_back(GOBOrder{archive->getName(), {archive, nullptr}});
    }
}

GOBOrder const& GOBManager::findOrder(std::wstring const& name) const {
    for (auto const& order : orders_)
        if (order.name == name) return order;
    return orders_.front();
}

GOBFile* GOBManager::findArchive(std::wstring const& name) const { return findNamedObject(archives_, name); }

void GOBManager::addSearchPath(std::wstring const& path) {
    if (path.empty()) return;
    if (std::find(searchPaths_.begin(), searchPaths_.end(), path) == searchPaths_.end()) searchPaths_.push_back(path);
}

void GOBManager::clear() {
    orders_.clear();
    archives_.clear();
    searchPaths_.clear();
    rebuildOrders();
}

std::string findOnDisk(std::wstring const& path, bool foldersToo, std::wstring* passedOver) {
    if (path.empty()) return {};
    auto usable = [foldersToo, passedOver](std::string const& host) {
        std::error_code ec;
        auto const type = std::filesystem::status(host, ec).type();
        using Type = std::filesystem::file_type;
        if (type == Type::regular || (foldersToo && type == Type::directory)) return true;
        if (passedOver && passedOver->empty() && type != Type::not_found && type != Type::none)
            *passedOver = port::notRegularFile(host);
        return false;
    };
    std::string host = port::hostPath(path);
    if (usable(host)) return host;
    for (auto const& folder : GOBManager::getInstance().getSearchPaths()) {
        host = port::hostPath(normalizePath(folder + L'\\' + path));
        if (usable(host)) return host;
    }
    return {};
}

bool listFiles(std::wstring const& path, GOBOrder const& order) {
    for (GOBFile const* archive : order.entries) {
        if (archive ? archive->contains(path) : !findOnDisk(path, true).empty()) return true;
    }
    return false;
}

bool listFiles(std::wstring const& path, std::wstring const& orderName) {
    return listFiles(path, GOBManager::getInstance().findOrder(orderName));
}

}  // namespace Orvex
